#include "fault_switch.h"

#include <stdexcept>

namespace nfp::servico {
namespace {

int Number(const std::string& name, const std::string& value, int low, int high) {
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != value.size() || value.empty() || n < low || n > high)
        throw std::invalid_argument(name + ": expected a number from " + std::to_string(low) + " to " +
                                    std::to_string(high));
    return n;
}

} // namespace

FaultSettings ParseFaultSettings(const std::multimap<std::string, std::string>& params) {
    FaultSettings f;
    for (const auto& [name, value] : params) {
        if (name == "status") f.status = Number(name, value, 100, 599);
        else if (name == "content_type") f.contentType = value;
        else if (name == "result") f.result = value;
        else if (name == "body") f.body = value;
        else if (name == "delay_ms") f.delay = std::chrono::milliseconds(Number(name, value, 0, 600000));
        else if (name == "drop") f.drop = Number(name, value, 0, 1) == 1;
        else if (name == "after") f.after = Number(name, value, 0, 1000000);
        else if (name == "count") f.count = Number(name, value, 0, 1000000);
        else throw std::invalid_argument("unknown fault switch: " + name);
    }
    return f;
}

std::string DescribeFault(const FaultSettings& f) {
    std::string text;
    const auto add = [&](const std::string& part) { text += (text.empty() ? "" : "&") + part; };
    if (f.status) add("status=" + std::to_string(*f.status));
    if (f.contentType) add("content_type=" + *f.contentType);
    if (f.result) add("result=" + *f.result);
    if (f.body) add("body=(" + std::to_string(f.body->size()) + " bytes)");
    if (f.delay.count() > 0) add("delay_ms=" + std::to_string(f.delay.count()));
    if (f.drop) add("drop=1");
    if (f.after > 0) add("after=" + std::to_string(f.after));
    if (f.count > 0) add("count=" + std::to_string(f.count));
    return text;
}

void FaultSwitch::Set(std::optional<FaultSettings> fault) {
    const std::lock_guard lock(mutex_);
    fault_ = std::move(fault);
    passed_ = 0;
    applied_ = 0;
}

std::optional<FaultSettings> FaultSwitch::Next() {
    const std::lock_guard lock(mutex_);
    if (!fault_) return std::nullopt;
    if (passed_ < fault_->after) {
        ++passed_;
        return std::nullopt;
    }
    FaultSettings now = *fault_;
    ++applied_;
    if (fault_->count > 0 && applied_ >= fault_->count) fault_.reset();
    return now;
}

} // namespace nfp::servico
