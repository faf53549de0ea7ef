#pragma once
// The SOAP 1.2 replies of the local service.
#include <string>
#include <string_view>

namespace nfp::servico {

inline constexpr std::string_view kSoapContentType = "application/soap+xml; charset=utf-8";

// <{operation}Response><{operation}Result>text</...></...>, the text escaped
// as XML text.
std::string ResultEnvelope(std::string_view operation, std::string_view resultText);

// A soap:Fault with the given code (soap:Sender, soap:VersionMismatch).
std::string FaultEnvelope(std::string_view code, std::string_view reason);

} // namespace nfp::servico
