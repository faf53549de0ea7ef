#pragma once
// What the send-path benchmarks compare the program with: receipt files of a
// fixed size in a folder of their own, and a minimal libcurl client that
// posts prepared request bodies, a fresh handle and connection for each.
#include <chrono>
#include <string>
#include <vector>

#include "service/http_poster_settings.h"
#include "service/service_credentials.h"

namespace nfp::bench {

using Clock = std::chrono::steady_clock;

inline const ServiceCredentials kDemoCredentials{"demo", "demo123", "11222333000181", 1};

// `count` receipt-like files of about `size` bytes (CR LF lines), removed
// with the folder at the end.
class ReceiptFolder {
public:
    ReceiptFolder(int count, std::size_t size);
    ~ReceiptFolder();
    ReceiptFolder(const ReceiptFolder&) = delete;
    ReceiptFolder& operator=(const ReceiptFolder&) = delete;
    const std::string& Path() const { return folder_; } // ends with "/"
    const std::vector<std::string>& Names() const { return names_; }

private:
    std::string folder_;
    std::vector<std::string> names_;
};

// The Enviar requests ("Processamento") of every file, as the program builds them.
std::vector<std::string> SendingRequests(const ReceiptFolder& folder);

// Posts every body as the bare client; throws when one is not answered
// with an EnviarResult.
Clock::duration BareSendRound(const std::vector<std::string>& bodies, const HttpPosterSettings& settings);

double Milliseconds(Clock::duration d);

} // namespace nfp::bench
