#pragma once
// The SOAP 1.2 request texts of the file service, written line by line with
// CR LF line ends and fixed indentation.
#include <string>
#include <string_view>

#include "service/service_credentials.h"
#include "service/service_operation.h"

namespace nfp {

inline constexpr std::string_view kServiceNamespace = "https://www.nfp.sp.gov.br/ws";
inline constexpr std::string_view kSoapEnvelopeNamespace = "http://www.w3.org/2003/05/soap-envelope";
inline constexpr std::string_view kXmlSchemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr std::string_view kXmlSchemaNamespace = "http://www.w3.org/2001/XMLSchema";

// The values of one request. The views must stay valid during the call.
struct ServiceFields {
    // Enviar and Retificar
    std::string_view NomeArquivo;
    std::string_view ConteudoArquivo; // already prepared and escaped (EscapeFileContent)
    bool EnvioNormal = false;         // false: "Simples Validação", true: "Processamento"
    // Consultar
    std::string_view Protocolo;
};

// The request of `operation` with the credentials in <Autenticacao> and the
// fields that operation uses. Attribute values and the element texts of
// NomeArquivo and Protocolo are escaped; ConteudoArquivo goes in as given.
std::string BuildServiceEnvelope(ServiceOperation operation, const ServiceCredentials& credentials,
                                 const ServiceFields& fields);

// An Enviar or Retificar request straight from a receipt file's bytes:
// prepares and escapes the file while writing it into a request reserved
// once, so a large file is read only once and held only twice.
// fields.ConteudoArquivo is ignored.
std::string BuildServiceEnvelopeFromFile(ServiceOperation operation, const ServiceCredentials& credentials,
                                         const ServiceFields& fields, std::string_view fileBytes);

} // namespace nfp
