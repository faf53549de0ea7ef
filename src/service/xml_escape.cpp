#include "service/xml_escape.h"

namespace nfp {

void AppendXmlAttributeValue(std::string& out, std::string_view value) {
    for (const char c : value) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '\'': out += "&apos;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: out += c; break;
        }
    }
}

std::string EscapeXmlAttributeValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    AppendXmlAttributeValue(out, value);
    return out;
}

void AppendXmlText(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c; break;
        }
    }
}

std::string EscapeXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendXmlText(out, text);
    return out;
}

} // namespace nfp
