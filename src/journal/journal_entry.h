#pragma once
// One exchange with the service as the send journal keeps it. The field
// names are the journal's column names, which stay stable for the people and
// programs that read the file.
#include <cstdint>
#include <optional>
#include <string>

namespace nfp {

inline constexpr const char* kSituacaoAceito = "aceito";
inline constexpr const char* kSituacaoRecusado = "recusado";
inline constexpr const char* kSituacaoFalha = "falha";

struct JournalEntry {
    std::string quando;   // local time, ISO 8601 with its UTC offset; filled when recorded
    std::string operacao; // "Enviar", "Retificar" or "Consultar"
    std::string cnpj;
    std::string usuario;  // never the password
    std::int64_t categoria = 0; // as the request carried it: 1, 2 or 3
    std::string arquivo;
    std::string pasta;
    std::optional<std::int64_t> tamanho;   // bytes of the file as read; none for a query
    std::optional<std::string> sha256;     // hex, of the same bytes
    std::optional<std::int64_t> envioNormal; // 0 or 1; none for a query
    std::string protocolo; // issued to an accepted file, or asked for by a query
    std::string resultado; // the decoded result text, whole; a failure's message
    std::string situacao;  // kSituacaoAceito, kSituacaoRecusado or kSituacaoFalha
};

struct JournalRow {
    std::int64_t id = 0;
    JournalEntry entry;
};

} // namespace nfp
