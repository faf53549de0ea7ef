#include "service/service_envelope.h"

#include <charconv>

#include "service/file_content.h"
#include "service/xml_escape.h"
#include "util/large_buffer.h"

namespace nfp {
namespace {

void AppendHead(std::string& out, const ServiceCredentials& c) {
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    out += "<soap:Envelope xmlns:soap=\"";
    out += kSoapEnvelopeNamespace;
    out += "\"\r\n";
    out += "               xmlns:xsi=\"";
    out += kXmlSchemaInstanceNamespace;
    out += "\"\r\n";
    out += "               xmlns:xsd=\"";
    out += kXmlSchemaNamespace;
    out += "\">\r\n";
    out += "   <soap:Header>\r\n";
    out += "      <Autenticacao xmlns=\"";
    out += kServiceNamespace;
    out += "\"\r\n";
    out += "         Usuario='";
    AppendXmlAttributeValue(out, c.Usuario);
    out += "'\r\n";
    out += "         Senha='";
    AppendXmlAttributeValue(out, c.Senha);
    out += "'\r\n";
    out += "         CNPJ='";
    AppendXmlAttributeValue(out, c.CNPJ);
    out += "'\r\n";
    out += "         CategoriaUsuario='";
    char digits[16];
    const auto r = std::to_chars(digits, digits + sizeof digits, c.CategoriaUsuario);
    out.append(digits, r.ptr);
    out += "'/>\r\n";
    out += "   </soap:Header>\r\n";
    out += "   <soap:Body>\r\n";
}

void AppendOperationOpen(std::string& out, ServiceOperation operation) {
    out += "      <";
    out += OperationName(operation);
    out += " xmlns=\"";
    out += kServiceNamespace;
    out += "\">\r\n";
}

void AppendOperationClose(std::string& out, ServiceOperation operation) {
    out += "      </";
    out += OperationName(operation);
    out += ">\r\n";
}

void AppendTail(std::string& out) {
    out += "   </soap:Body>\r\n";
    out += "</soap:Envelope>\r\n";
}

// Enviar or Retificar: what a Consultar operation would mean here is a
// sending; the query has its own body.
ServiceOperation SendingOperation(ServiceOperation operation) {
    return operation == ServiceOperation::Retificar ? ServiceOperation::Retificar : ServiceOperation::Enviar;
}

template <typename AppendContent>
void AppendSendingBody(std::string& out, ServiceOperation operation, const ServiceFields& f,
                       AppendContent&& appendContent) {
    AppendOperationOpen(out, operation);
    out += "         <NomeArquivo>";
    AppendXmlText(out, f.NomeArquivo);
    out += "</NomeArquivo>\r\n";
    out += "         <ConteudoArquivo>";
    appendContent(out);
    out += "</ConteudoArquivo>\r\n";
    out += f.EnvioNormal ? "         <EnvioNormal>true</EnvioNormal>\r\n"
                         : "         <EnvioNormal>false</EnvioNormal>\r\n";
    out += "         <Observacoes></Observacoes>\r\n";
    AppendOperationClose(out, operation);
}

constexpr std::size_t kFixedTextSize = 1024;

std::size_t ValuesSize(const ServiceCredentials& c, const ServiceFields& f) {
    // Escaping grows a value at most sixfold; these are short.
    return 6 * (c.Usuario.size() + c.Senha.size() + c.CNPJ.size() + f.NomeArquivo.size() + f.Protocolo.size());
}

} // namespace

std::string BuildServiceEnvelope(ServiceOperation operation, const ServiceCredentials& credentials,
                                 const ServiceFields& fields) {
    std::string out;
    ReserveLarge(out, kFixedTextSize + ValuesSize(credentials, fields) + fields.ConteudoArquivo.size());
    AppendHead(out, credentials);
    if (operation == ServiceOperation::Consultar) {
        AppendOperationOpen(out, operation);
        out += "         <Protocolo>";
        AppendXmlText(out, fields.Protocolo);
        out += "</Protocolo>\r\n";
        AppendOperationClose(out, operation);
    } else {
        AppendSendingBody(out, SendingOperation(operation), fields,
                          [&](std::string& o) { o += fields.ConteudoArquivo; });
    }
    AppendTail(out);
    return out;
}

std::string BuildServiceEnvelopeFromFile(ServiceOperation operation, const ServiceCredentials& credentials,
                                         const ServiceFields& fields, std::string_view fileBytes) {
    std::string out;
    // Room for CR LF line ends and the odd entity without a second allocation.
    ReserveLarge(out, kFixedTextSize + ValuesSize(credentials, fields) + fileBytes.size() + fileBytes.size() / 8);
    AppendHead(out, credentials);
    AppendSendingBody(out, SendingOperation(operation), fields,
                      [&](std::string& o) { AppendEscapedFileContent(o, fileBytes); });
    AppendTail(out);
    return out;
}

} // namespace nfp
