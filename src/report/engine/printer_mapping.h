#pragma once
// Which model a printer is, from words in its name.
#include <string>
#include <string_view>
#include <vector>

#include "report/engine/report_types.h"

namespace nfp {

// The 38 lines a new report component starts with ("KEY=MODEL", "//"
// comments).
std::vector<std::string> DefaultMapeamento();

// The first entry whose key occurs in the upper-cased name decides; none
// gives Grafico.
TModelo ModelForPrinterName(std::string_view printerName, const std::vector<std::string>& mapeamento);

// ASCII upper case.
std::string UpperAscii(std::string_view s);

} // namespace nfp

namespace nfp {

// PortaComunicacao for a printer's port or device: a name containing "LPT"
// is cut to its first four characters ("LPT1:" -> "LPT1"); a parallel: or
// usb: device naming a path gives that path; anything else stays whole.
std::string PortFromDevice(std::string_view device);

} // namespace nfp
