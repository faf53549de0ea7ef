#pragma once
// Escaping of the values the program writes into its own XML requests.
#include <string>
#include <string_view>

namespace nfp {

// For a value quoted with apostrophes: & < ' " as entity references, and tab,
// line feed and carriage return as character references so that an XML
// reader does not turn them into spaces. Everything else is kept.
void AppendXmlAttributeValue(std::string& out, std::string_view value);
std::string EscapeXmlAttributeValue(std::string_view value);

// For element text: & < > as entity references.
void AppendXmlText(std::string& out, std::string_view text);
std::string EscapeXmlText(std::string_view text);

} // namespace nfp
