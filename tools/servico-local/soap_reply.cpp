#include "soap_reply.h"

#include "service/service_envelope.h"
#include "service/xml_escape.h"

namespace nfp::servico {
namespace {

std::string Open() {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    out += "<soap:Envelope xmlns:soap=\"";
    out += kSoapEnvelopeNamespace;
    out += "\" xmlns:xsi=\"";
    out += kXmlSchemaInstanceNamespace;
    out += "\" xmlns:xsd=\"";
    out += kXmlSchemaNamespace;
    out += "\"><soap:Body>";
    return out;
}

constexpr std::string_view kClose = "</soap:Body></soap:Envelope>";

} // namespace

std::string ResultEnvelope(std::string_view operation, std::string_view resultText) {
    std::string out = Open();
    out += "<";
    out += operation;
    out += "Response xmlns=\"";
    out += kServiceNamespace;
    out += "\"><";
    out += operation;
    out += "Result>";
    AppendXmlText(out, resultText);
    out += "</";
    out += operation;
    out += "Result></";
    out += operation;
    out += "Response>";
    out += kClose;
    return out;
}

std::string FaultEnvelope(std::string_view code, std::string_view reason) {
    std::string out = Open();
    out += "<soap:Fault><soap:Code><soap:Value>";
    AppendXmlText(out, code);
    out += "</soap:Value></soap:Code><soap:Reason><soap:Text xml:lang=\"pt-BR\">";
    AppendXmlText(out, reason);
    out += "</soap:Text></soap:Reason></soap:Fault>";
    out += kClose;
    return out;
}

} // namespace nfp::servico
