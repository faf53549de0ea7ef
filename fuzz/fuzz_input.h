#pragma once
// What every fuzz target shares: a check that stops the run with the failed
// condition, and the input read as a few choice bytes and texts.
//
// Inputs are laid out so that seeds can be written by hand: choice bytes
// first, then texts each ended by a zero byte, then the rest as the last
// text (which may hold zero bytes).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) ::nfp::fuzz::Failed(__FILE__, __LINE__, #condition);                     \
    } while (false)

namespace nfp::fuzz {

[[noreturn]] inline void Failed(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // The next byte, 0 when the input has ended.
    unsigned char Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // Up to the next zero byte (which is consumed), or the rest.
    std::string_view Text() {
        const std::size_t end = rest_.find('\0');
        const std::string_view text = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return text;
    }
    std::string_view Rest() {
        const std::string_view text = rest_;
        rest_ = {};
        return text;
    }

private:
    std::string_view rest_;
};

} // namespace nfp::fuzz
