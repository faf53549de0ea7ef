#pragma once
// The printers CUPS knows: the current one is the default destination (the
// first printer when none is marked as default) until the setup dialog
// chooses another.
#include <optional>
#include <string>

#include "report/engine/printer_system.h"

namespace nfp {

class CupsPrinterSystem : public PrinterSystem {
public:
    std::vector<std::string> PrinterNames() override;
    std::optional<std::string> CurrentPrinter() override;
    void SetCurrentPrinter(const std::string& name) override;
    // The queue's device URI ("parallel:/dev/lp0", "socket://host:9100").
    std::string PortOf(const std::string& name) override;

private:
    std::optional<std::string> chosen_;
};

} // namespace nfp
