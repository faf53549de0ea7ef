#include "sending/query.h"

#include "sending/exchange_entry.h"
#include "service/reply_extraction.h"
#include "service/service_envelope.h"

namespace nfp {

std::string QueryProtocol(const ServiceCredentials& credentials, ServicePoster& poster, ExchangeRecorder& journal,
                          std::string_view protocolo, std::string_view arquivo, std::string_view pasta)
{
    ServiceFields fields;
    fields.Protocolo = protocolo;
    const std::string request = BuildServiceEnvelope(ServiceOperation::Consultar, credentials, fields);
    JournalEntry entry = QueryEntry(credentials, protocolo, arquivo, pasta);
    const std::string reply = PostRecorded(poster, request, {}, journal, entry);
    std::string result = DecodedResultText(ExtractOperationResult(reply, ServiceOperation::Consultar));
    RecordResult(journal, std::move(entry), result, !result.empty());
    return result;
}

void Reconsultar(MemoryTable& results, QueryView& view, ServicePoster& poster, ExchangeRecorder& journal,
                 const CredentialsForCnpj& credentialsFor)
{
    const BusyCursor busy(view);
    view.ProcessMessages();
    results.First();
    while (!results.Eof()) {
        const std::string result = QueryProtocol(credentialsFor(results.FieldText("CNPJ")), poster, journal,
                                                 results.FieldText("Protocolo"), results.FieldText("Arquivo"),
                                                 results.FieldText("Caminho"));
        results.Edit();
        results.SetField("Resultado", result);
        results.Post();
        results.Next();
    }
    view.ProcessMessages();
}

} // namespace nfp
