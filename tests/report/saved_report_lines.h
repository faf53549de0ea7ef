#pragma once
// The lines of a saved report as they stand on disk (Windows-1252, CR LF),
// for golden texts.
#include <initializer_list>
#include <string>

namespace nfp::test {

inline const std::string CRLF = "\r\n";
// The two identity lines.
inline const std::string V4 = "<< RelGrade 4.0 - Talverin Inform\xE1tica >>";
inline const std::string V3 = "<< RelGrade 3.0 - Talverin Inform\xE1tica >>";
inline const std::string Notice = "<< ESTE  ARQUIVO N\xC3O DEVE SER EDITADO >>";

inline std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines) out += l + CRLF;
    return out;
}

} // namespace nfp::test
