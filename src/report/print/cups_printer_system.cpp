#include "report/print/cups_printer_system.h"

#include <cups/cups.h>

#include <memory>

namespace nfp {

namespace {

struct Dests {
    cups_dest_t* list = nullptr;
    int count = 0;
    Dests() { count = cupsGetDests2(CUPS_HTTP_DEFAULT, &list); }
    ~Dests() { cupsFreeDests(count, list); }
    Dests(const Dests&) = delete;
    Dests& operator=(const Dests&) = delete;
};

std::string DeviceUriByIpp(const std::string& name) {
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "device-uri");
    std::unique_ptr<ipp_t, decltype(&ippDelete)> response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"), ippDelete);
    if (!response) return {};
    ipp_attribute_t* attr = ippFindAttribute(response.get(), "device-uri", IPP_TAG_URI);
    const char* value = attr ? ippGetString(attr, 0, nullptr) : nullptr;
    return value ? value : "";
}

} // namespace

std::vector<std::string> CupsPrinterSystem::PrinterNames() {
    const Dests dests;
    std::vector<std::string> names;
    for (int i = 0; i < dests.count; ++i)
        if (!dests.list[i].instance) names.emplace_back(dests.list[i].name);
    return names;
}

std::optional<std::string> CupsPrinterSystem::CurrentPrinter() {
    if (chosen_) return chosen_;
    const Dests dests;
    if (cups_dest_t* d = cupsGetDest(nullptr, nullptr, dests.count, dests.list)) return std::string(d->name);
    // Printers, but none marked as the default: the first of the list, the
    // one the setup dialog shows selected.
    for (int i = 0; i < dests.count; ++i)
        if (!dests.list[i].instance) return std::string(dests.list[i].name);
    return std::nullopt;
}

void CupsPrinterSystem::SetCurrentPrinter(const std::string& name) { chosen_ = name; }

std::string CupsPrinterSystem::PortOf(const std::string& name) {
    {
        const Dests dests;
        if (cups_dest_t* d = cupsGetDest(name.c_str(), nullptr, dests.count, dests.list))
            if (const char* uri = cupsGetOption("device-uri", d->num_options, d->options)) return uri;
    }
    return DeviceUriByIpp(name);
}

} // namespace nfp
