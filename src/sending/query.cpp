#include "sending/query.h"

#include "service/reply_extraction.h"
#include "service/service_envelope.h"

namespace nfp {

std::string QueryProtocol(QueryView& view, ServicePoster& poster, std::string_view protocolo)
{
    ServiceFields fields;
    fields.Protocolo = protocolo;
    const std::string request = BuildServiceEnvelope(ServiceOperation::Consultar, view.Credentials(), fields);
    const std::string reply = poster.Post(request, {});
    return DecodedResultText(ExtractOperationResult(reply, ServiceOperation::Consultar));
}

void Reconsultar(MemoryTable& results, QueryView& view, ServicePoster& poster)
{
    const BusyCursor busy(view);
    view.ProcessMessages();
    results.First();
    while (!results.Eof()) {
        const std::string result = QueryProtocol(view, poster, results.FieldText("Protocolo"));
        results.Edit();
        results.SetField("Resultado", result);
        results.Post();
        results.Next();
    }
    view.ProcessMessages();
}

} // namespace nfp
