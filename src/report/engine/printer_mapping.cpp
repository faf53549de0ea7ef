#include "report/engine/printer_mapping.h"

namespace nfp {

std::vector<std::string> DefaultMapeamento() {
    return {
        "//--- Grafico Compativel com Windows/USB ---//", "//", "GRAFICO=GRAFICO",
        "HP=GRAFICO", "DESKJET=GRAFICO", "LASERJET=GRAFICO",
        "INKJET=GRAFICO", "STYLUS=GRAFICO", "EPL=GRAFICO",
        "USB=GRAFICO", "//", "//--- Linha Epson Matricial 9 e 24 agulhas ---//",
        "//", "EPSON=EPSON", "GENERICO=EPSON",
        "LX-300=EPSON", "LX-810=EPSON", "FX-2170=EPSON",
        "FX-1170=EPSON", "LQ-1170=EPSON", "LQ-2170=EPSON",
        "OKIDATA=EPSON", "//", "//--- Rima e Emilia ---//",
        "//", "RIMA=RIMA", "EMILIA=RIMA",
        "//", "//--- Linha HP/Xerox padr\xC3\xA3o PCL ---//", "//",
        "PCL=HP", "//", "//--- Impressoras 40 Colunas ---//",
        "//", "DARUMA=BOBINA", "SIGTRON=BOBINA",
        "SWEDA=BOBINA", "BEMATECH=BOBINA",
    };
}

std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

TModelo ModelForPrinterName(std::string_view printerName, const std::vector<std::string>& mapeamento) {
    const std::string name = UpperAscii(printerName);
    for (const auto& raw : mapeamento) {
        const std::string line = UpperAscii(raw);
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || line.starts_with("//")) continue;
        const std::string key = line.substr(0, eq);
        if (key.empty() || name.find(key) == std::string::npos) continue;
        const std::string value = line.substr(eq + 1);
        if (value == "EPSON" || value == "ESCP") return TModelo::Epson;
        if (value == "RIMA" || value == "EMILIA") return TModelo::Rima;
        if (value == "HP" || value == "PCL") return TModelo::HP;
        if (value == "CUSTOM" || value == "OUTRO" || value == "PERSONALIZADO") return TModelo::Personalizado;
        if (value == "BOBINA") return TModelo::Bobina;
        return TModelo::Grafico;
    }
    return TModelo::Grafico;
}

} // namespace nfp

namespace nfp {

std::string PortFromDevice(std::string_view device) {
    if (device.find("LPT") != std::string_view::npos) return std::string(device.substr(0, 4));
    for (std::string_view scheme : {std::string_view("parallel:"), std::string_view("usb:")}) {
        if (!device.starts_with(scheme)) continue;
        std::string_view rest = device.substr(scheme.size());
        if (rest.starts_with("/") && !rest.starts_with("//")) return std::string(rest);
    }
    return std::string(device);
}

} // namespace nfp
