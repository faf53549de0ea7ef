#pragma once
// What the program says when the send journal cannot be opened or written:
// the reason in the user's words, from SQLite's result code or the system's
// error number.
#include <stdexcept>
#include <string>

namespace nfp {

// A journal that cannot be opened, read or written; what() is the reason
// in Portuguese, e.g. "não há espaço livre no disco".
class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The reason for an SQLite result code; `detail` is SQLite's own text, kept
// only where the code alone says too little.
std::string JournalReasonForSqlite(int code, const std::string& detail);
// The reason for a system error number.
std::string JournalReasonForErrno(int error);

// "Não foi possível gravar o histórico de envios em <arquivo>: <motivo>. Os
// envios continuam, mas não ficam registrados."
std::string JournalFailureMessage(const std::string& file, const std::string& reason);

} // namespace nfp
