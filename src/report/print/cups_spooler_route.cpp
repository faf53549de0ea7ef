#include "report/print/cups_spooler_route.h"

#include <cups/cups.h>

#include "report/print/direct_port_route.h"

namespace nfp {

namespace {

class CupsJob : public TextJob {
public:
    CupsJob(std::string printer, int id) : printer_(std::move(printer)), id_(id) {}
    ~CupsJob() override {
        if (!finished_) cupsCancelJob2(CUPS_HTTP_DEFAULT, printer_.c_str(), id_, 0);
    }
    CupsJob(const CupsJob&) = delete;
    CupsJob& operator=(const CupsJob&) = delete;

    int Write(std::string_view bytes) override {
        if (bytes.empty()) return 0;
        if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE)
            return static_cast<int>(cupsLastError());
        return 0;
    }
    int Flush() override { return 0; }
    int Finish() override {
        finished_ = true;
        const ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, printer_.c_str());
        return status > IPP_STATUS_OK_CONFLICTING ? static_cast<int>(status) : 0;
    }

private:
    std::string printer_;
    int id_;
    bool finished_ = false;
};

} // namespace

TextJobStart CupsSpoolerRoute::Start(const TextJobRequest& request) {
    if (request.outputFile) return StartFileJob(*request.outputFile);
    const char* name = request.destination.c_str();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name, nullptr);
    if (!dest) {
        const int status = static_cast<int>(cupsLastError());
        return status ? status : static_cast<int>(IPP_STATUS_ERROR_NOT_FOUND);
    }
    cupsFreeDests(1, dest);
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, name, request.title.c_str(), 0, nullptr);
    if (id <= 0) return static_cast<int>(cupsLastError());
    auto job = std::make_unique<CupsJob>(request.destination, id);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name, id, request.title.c_str(), CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE)
        return static_cast<int>(cupsLastError());
    return std::unique_ptr<TextJob>(std::move(job));
}

} // namespace nfp
