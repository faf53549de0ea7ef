#include "journal/journal_csv.h"

#include "journal/journal_failure.h"
#include "util/replacing_file.h"

#include <cerrno>

namespace nfp {

namespace {

template <class T>
std::string OptionalText(const std::optional<T>& value)
{
    if (!value)
        return {};
    if constexpr (std::is_same_v<T, std::string>)
        return *value;
    else
        return std::to_string(*value);
}

} // namespace

std::string CsvField(const std::string& value)
{
    const bool quoted = value.find_first_of(";\"\r\n") != std::string::npos ||
                        (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quoted)
        return value;
    std::string field = "\"";
    for (char c : value) {
        if (c == '"')
            field += '"';
        field += c;
    }
    field += '"';
    return field;
}

std::string JournalCsv(const std::vector<JournalRow>& rows)
{
    std::string csv = "\xEF\xBB\xBF"
                      "id;quando;operacao;cnpj;usuario;categoria;arquivo;pasta;tamanho;sha256;envio_normal;"
                      "protocolo;resultado;situacao\r\n";
    for (const JournalRow& row : rows) {
        const JournalEntry& e = row.entry;
        const std::string fields[] = {std::to_string(row.id),
                                      e.quando,
                                      e.operacao,
                                      e.cnpj,
                                      e.usuario,
                                      std::to_string(e.categoria),
                                      e.arquivo,
                                      e.pasta,
                                      OptionalText(e.tamanho),
                                      OptionalText(e.sha256),
                                      OptionalText(e.envioNormal),
                                      e.protocolo,
                                      e.resultado,
                                      e.situacao};
        bool first = true;
        for (const std::string& field : fields) {
            if (!first)
                csv += ';';
            first = false;
            csv += CsvField(field);
        }
        csv += "\r\n";
    }
    return csv;
}

void ExportJournalCsv(const std::string& file, const std::vector<JournalRow>& rows)
{
    int error = 0;
    const auto out = ReplacingFile::Create(file, error);
    if (!out)
        throw JournalError(JournalReasonForErrno(error));
    errno = 0;
    if (!out->Write(JournalCsv(rows)) || !out->Commit())
        throw JournalError(JournalReasonForErrno(errno ? errno : EIO));
}

} // namespace nfp
