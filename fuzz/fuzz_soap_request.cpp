// The local service's request reader: any body is read or refused with a
// SOAP fault, never anything else, and what it reads is valid UTF-8 without
// the characters XML forbids. (That it reads back what the program writes
// is checked by fuzz_service_envelope.)
//
// Input: the request body.
#include <string>

#include "fuzz_input.h"
#include "soap_request.h"
#include "util/text_codec.h"

namespace {

bool XmlText(std::string_view s) {
    if (!nfp::IsValidUtf8(s)) return false;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') return false;
    }
    return s.find("\xEF\xBF\xBE") == std::string_view::npos && s.find("\xEF\xBF\xBF") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp::servico;
    nfp::fuzz::FuzzInput input(data, size);
    const std::string_view body = input.Rest();
    ServiceRequest request;
    try {
        request = ParseServiceRequest(body);
    } catch (const SoapFault& fault) {
        FUZZ_CHECK(fault.Code() == "soap:Sender" || fault.Code() == "soap:VersionMismatch");
        return 0;
    }
    FUZZ_CHECK(request.operation == "Enviar" || request.operation == "Retificar" || request.operation == "Consultar");
    for (const std::string* value : {&request.usuario, &request.senha, &request.cnpj, &request.categoria})
        FUZZ_CHECK(XmlText(*value));
    for (const auto& [name, value] : request.fields) {
        FUZZ_CHECK(!name.empty());
        FUZZ_CHECK(XmlText(value));
    }
    return 0;
}
