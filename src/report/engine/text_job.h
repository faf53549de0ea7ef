#pragma once
// The byte routes of text printers: the print spooler in raw mode, or a
// port or file written directly. The engine writes a job's bytes into a
// TextJob and knows nothing of the device behind it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace nfp {

class TextJob {
public:
    virtual ~TextJob() = default;
    // Each returns 0 on success, otherwise the system's error number.
    virtual int Write(std::string_view bytes) = 0;
    virtual int Flush() = 0;
    // Ends the job (the spooler then prints it, a file is complete).
    virtual int Finish() = 0;
};

struct TextJobRequest {
    std::string destination;               // printer name (spooler) or path (direct)
    std::string title;                     // document name of a spooler job
    std::optional<std::string> outputFile; // spooler: write the job's bytes here instead
};

// A job, or the error number that kept it from starting.
using TextJobStart = std::variant<std::unique_ptr<TextJob>, int>;

class TextJobRoute {
public:
    virtual ~TextJobRoute() = default;
    virtual TextJobStart Start(const TextJobRequest& request) = 0;
};

} // namespace nfp
