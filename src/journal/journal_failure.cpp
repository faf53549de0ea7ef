#include "journal/journal_failure.h"

#include <cerrno>
#include <cstring>

#include <sqlite3.h>

namespace nfp {

std::string JournalReasonForSqlite(int code, const std::string& detail)
{
    switch (code & 0xff) {
    case SQLITE_CANTOPEN:
        return "o arquivo não pôde ser aberto nem criado";
    case SQLITE_READONLY:
        return "o arquivo só pode ser lido";
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "permissão negada";
    case SQLITE_FULL:
        return "não há espaço livre no disco";
    case SQLITE_IOERR:
        return "erro de leitura ou gravação no disco";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "o arquivo ficou ocupado por outro programa por tempo demais";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return "o arquivo não é um histórico de envios válido ou está danificado";
    case SQLITE_NOMEM:
        return "memória insuficiente";
    case SQLITE_ERROR:
        return "o arquivo não tem o formato esperado (" + detail + ")";
    default:
        return "erro " + std::to_string(code & 0xff) + " do SQLite (" + detail + ")";
    }
}

std::string JournalReasonForErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "permissão negada";
    case EROFS:
        return "o disco só pode ser lido";
    case ENOSPC:
    case EDQUOT:
        return "não há espaço livre no disco";
    case ENOTDIR:
        return "parte do caminho não é uma pasta";
    case EISDIR:
        return "o caminho indicado é uma pasta";
    case ENOENT:
        return "a pasta não existe";
    case ENAMETOOLONG:
        return "o caminho é longo demais";
    default:
        return "erro " + std::to_string(error) + " do sistema (" + std::strerror(error) + ")";
    }
}

std::string JournalFailureMessage(const std::string& file, const std::string& reason)
{
    return "Não foi possível gravar o histórico de envios em " + file + ": " + reason +
           ". Os envios continuam, mas não ficam registrados.";
}

} // namespace nfp
