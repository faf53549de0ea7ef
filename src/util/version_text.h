#pragma once
// The program's version, major.minor.release.build, as recorded by the build.
#include <cstdint>
#include <string>

namespace nfp {

// The four numbers in decimal joined by ".": 1, 0, 0, 4 give "1.0.0.4".
std::string FormatVersionText(std::uint16_t major, std::uint16_t minor, std::uint16_t release, std::uint16_t build);

// This program's version ("1.0.0.4").
std::string GetVersionText();

} // namespace nfp
