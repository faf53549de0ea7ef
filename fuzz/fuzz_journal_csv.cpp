// The journal's CSV export: whatever the rows hold, a strict reader of
// ";"-separated, quoted CSV with CR LF line ends gives back the column names
// and every row's fields exactly.
//
// Input: a row-count byte, then per row a choice byte (categoria, and which
// optional values are present) and the texts quando, operacao, cnpj,
// usuario, arquivo, pasta, sha256, protocolo, resultado and situacao.
#include <optional>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "journal/journal_csv.h"

namespace {

using Record = std::vector<std::string>;

// Reads the records of `csv`; nothing when it is not strictly well formed.
std::optional<std::vector<Record>> ReadCsv(std::string_view csv) {
    std::vector<Record> records;
    std::size_t i = 0;
    while (i < csv.size()) {
        Record record;
        while (true) {
            std::string field;
            if (i < csv.size() && csv[i] == '"') {
                ++i;
                while (true) {
                    if (i >= csv.size()) return std::nullopt;
                    if (csv[i] == '"') {
                        if (i + 1 < csv.size() && csv[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    field += csv[i++];
                }
            } else {
                while (i < csv.size() && csv[i] != ';' && csv[i] != '\r' && csv[i] != '\n') {
                    if (csv[i] == '"') return std::nullopt;
                    field += csv[i++];
                }
            }
            record.push_back(std::move(field));
            if (i < csv.size() && csv[i] == ';') {
                ++i;
                continue;
            }
            if (csv.substr(i, 2) != "\r\n") return std::nullopt;
            i += 2;
            break;
        }
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    fuzz::FuzzInput input(data, size);
    std::vector<JournalRow> rows(input.Byte() % 5);
    std::int64_t id = 1;
    for (JournalRow& row : rows) {
        row.id = id++;
        const unsigned char choice = input.Byte();
        JournalEntry& e = row.entry;
        e.categoria = choice % 4;
        if (choice & 4) e.tamanho = choice * 1000;
        if (choice & 8) e.envioNormal = (choice >> 4) & 1;
        e.quando = input.Text();
        e.operacao = input.Text();
        e.cnpj = input.Text();
        e.usuario = input.Text();
        e.arquivo = input.Text();
        e.pasta = input.Text();
        if (choice & 32) e.sha256 = std::string(input.Text());
        e.protocolo = input.Text();
        e.resultado = input.Text();
        e.situacao = input.Text();
    }

    const std::string csv = JournalCsv(rows);
    FUZZ_CHECK(csv.starts_with("\xEF\xBB\xBF"));
    const auto records = ReadCsv(std::string_view(csv).substr(3));
    FUZZ_CHECK(records);
    FUZZ_CHECK(records->size() == rows.size() + 1);
    FUZZ_CHECK(records->front().size() == 14 && records->front()[0] == "id" && records->front()[13] == "situacao");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const JournalEntry& e = rows[r].entry;
        const auto optionalText = [](const auto& value) {
            if (!value) return std::string();
            if constexpr (std::is_same_v<std::decay_t<decltype(*value)>, std::string>) return *value;
            else return std::to_string(*value);
        };
        const Record expected = {std::to_string(rows[r].id), e.quando, e.operacao, e.cnpj, e.usuario,
                                 std::to_string(e.categoria), e.arquivo, e.pasta, optionalText(e.tamanho),
                                 optionalText(e.sha256), optionalText(e.envioNormal), e.protocolo, e.resultado,
                                 e.situacao};
        FUZZ_CHECK((*records)[r + 1] == expected);
    }
    return 0;
}
