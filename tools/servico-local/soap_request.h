#pragma once
// Reading a request the way a strict SOAP 1.2 stack does: well-formed UTF-8
// XML, the envelope in the SOAP 1.2 namespace, an Autenticacao header in the
// service namespace with its four attributes, and exactly one operation
// element in the body. Anything else is a SoapFault.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace nfp::servico {

class SoapFault : public std::runtime_error {
public:
    // code: "soap:Sender" or "soap:VersionMismatch"
    SoapFault(std::string code, const std::string& reason) : std::runtime_error(reason), code_(std::move(code)) {}
    const std::string& Code() const noexcept { return code_; }

private:
    std::string code_;
};

struct ServiceRequest {
    std::string operation; // Enviar, Retificar or Consultar
    std::string usuario;
    std::string senha;
    std::string cnpj;
    std::string categoria; // as written
    // Elements of the operation, by local name, entities decoded and line
    // ends as sent. A missing element has no entry.
    std::map<std::string, std::string> fields;

    std::optional<std::string> Field(const std::string& name) const;
};

ServiceRequest ParseServiceRequest(std::string_view body);

} // namespace nfp::servico
