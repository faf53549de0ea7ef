#pragma once
// Reading the result out of a service reply. The reply is not parsed as XML:
// the result text is cut between its element's tags found as plain text, and
// a sending counts as accepted when that text begins with a date.
#include <string>
#include <string_view>

#include "service/service_operation.h"
#include "util/regional_settings.h"

namespace nfp {

// The text between the first `opening` tag and the first `closing` tag
// (letter case counts). Missing tags give an empty or partial text, as the
// positions fall: only the closing tag gives the reply's text from position
// opening.size() + 1 up to it; no closing tag, or the closing tag first,
// gives an empty text. Entity references stay as they are. Never fails.
std::string ExtractResultText(std::string_view reply, std::string_view opening, std::string_view closing);

// The result of `operation`'s reply: EnviarResult, ConsultarResult, and for
// Retificar the RetificarResult tags, or the EnviarResult tags when the reply
// holds neither RetificarResult tag.
std::string ExtractOperationResult(std::string_view reply, ServiceOperation operation);

// True when the first ten characters of `result` read as a short date under
// `settings` (ParseShortDate; one- and two-digit years placed around
// `currentYear`, two numbers meaning a day and month of `currentYear`).
bool IsAcceptedResult(std::string_view result, const RegionalSettings& settings, int currentYear);
// The same with the current year of the system clock.
bool IsAcceptedResult(std::string_view result, const RegionalSettings& settings);

// Characters 31 to 39 of an accepted result: as many of them as there are,
// empty when the text is shorter than 31 characters. Valid UTF-8 counts
// code points; other text counts bytes throughout (IsAcceptedResult too).
std::string ProtocolNumber(std::string_view result);

} // namespace nfp
