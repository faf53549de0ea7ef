#pragma once
// The platform's printers as the report engine sees them: a list of names,
// the current one (the system default until the setup dialog chooses
// another) and the port or device each one prints to.
#include <optional>
#include <string>
#include <vector>

namespace nfp {

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    virtual std::vector<std::string> PrinterNames() = 0;
    // Empty when the platform has no printer at all.
    virtual std::optional<std::string> CurrentPrinter() = 0;
    virtual void SetCurrentPrinter(const std::string& name) = 0;
    // Where the printer's bytes end up (a device path, or a device URI);
    // the engine turns it into PortaComunicacao.
    virtual std::string PortOf(const std::string& name) = 0;
};

} // namespace nfp
