#pragma once
// Switches that make the service misbehave for fault tests, set through
// POST /control/fault?status=404&content_type=text/html&delay_ms=500&drop=1&after=1&count=1
// (any subset, values URL-encoded; no parameter at all switches every fault off).
//   status        answer with this status (and, alone, a short text/html page), unprocessed
//   result        answer with this result text in the operation's reply, unprocessed
//   body          answer with exactly these bytes, unprocessed
//   content_type  use this Content-Type (alone: answer normally with it)
//   delay_ms      wait this long before answering
//   drop          close the connection without answering, unprocessed
//   after         let this many service requests pass untouched first
//   count         affect this many requests, then switch off (0: until changed)
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace nfp::servico {

struct FaultSettings {
    std::optional<int> status;
    std::optional<std::string> contentType;
    std::optional<std::string> result;
    std::optional<std::string> body;
    std::chrono::milliseconds delay{0};
    bool drop = false;
    int after = 0;
    int count = 0;
};

// Throws std::invalid_argument for an unknown name or a value out of range.
FaultSettings ParseFaultSettings(const std::multimap<std::string, std::string>& params);
std::string DescribeFault(const FaultSettings& fault);

class FaultSwitch {
public:
    void Set(std::optional<FaultSettings> fault);
    // The fault that applies to the next service request, if any.
    std::optional<FaultSettings> Next();

private:
    std::mutex mutex_;
    std::optional<FaultSettings> fault_;
    int passed_ = 0;
    int applied_ = 0;
};

} // namespace nfp::servico
