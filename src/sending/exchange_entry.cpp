#include "sending/exchange_entry.h"

#include "journal/sha256.h"
#include "util/silent_abort.h"

namespace nfp {

namespace {

JournalEntry EntryFor(ServiceOperation operation, const ServiceCredentials& credentials)
{
    JournalEntry e;
    e.operacao = std::string(OperationName(operation));
    e.cnpj = credentials.CNPJ;
    e.usuario = credentials.Usuario;
    e.categoria = credentials.CategoriaUsuario;
    return e;
}

} // namespace

JournalEntry SendingEntry(const SendChoice& choice, const ServiceCredentials& credentials, std::string_view arquivo,
                          std::string_view pasta, std::string_view bytes)
{
    JournalEntry e = EntryFor(choice.operation, credentials);
    e.arquivo = arquivo;
    e.pasta = pasta;
    e.tamanho = static_cast<std::int64_t>(bytes.size());
    e.sha256 = Sha256Hex(bytes);
    e.envioNormal = choice.envioNormal ? 1 : 0;
    return e;
}

JournalEntry QueryEntry(const ServiceCredentials& credentials, std::string_view protocolo, std::string_view arquivo,
                        std::string_view pasta)
{
    JournalEntry e = EntryFor(ServiceOperation::Consultar, credentials);
    e.protocolo = protocolo;
    e.arquivo = arquivo;
    e.pasta = pasta;
    return e;
}

std::string PostRecorded(ServicePoster& poster, std::string_view request, const PostingDataHandler& progress,
                         ExchangeRecorder& journal, const JournalEntry& entry)
{
    try {
        return poster.Post(request, progress);
    } catch (const SilentAbort&) {
        throw;
    } catch (const std::exception& e) {
        JournalEntry failed = entry;
        failed.resultado = e.what();
        failed.situacao = kSituacaoFalha;
        journal.Record(std::move(failed));
        throw;
    }
}

void RecordResult(ExchangeRecorder& journal, JournalEntry entry, const std::string& result, bool accepted)
{
    entry.resultado = result;
    entry.situacao = accepted ? kSituacaoAceito : kSituacaoRecusado;
    journal.Record(std::move(entry));
}

} // namespace nfp
