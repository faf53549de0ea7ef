#pragma once
// The one thing the poster needs from an HTTP client library: post a body and
// hand back the raw reply. libcurl implements it here; another platform's
// client can stand in without touching the poster's rules.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "service/transport_failure_text.h"

namespace nfp {

// Called after each piece of a body posted in pieces.
using PostingDataHandler = std::function<void(std::int64_t sent, std::int64_t total)>;

struct HttpPostRequest {
    std::string url;
    std::vector<std::string> headers; // "Name: value", in this order
    std::string userAgent;
    std::string_view body;
    // A body longer than this goes to the connection in pieces of at most
    // this size, with `onPiece` after each; a shorter one goes at once.
    std::size_t largestPiece = 32768;
    PostingDataHandler onPiece;
    // PEM file of trusted CA certificates instead of the system's.
    std::optional<std::string> caBundle;
    std::chrono::seconds connectTimeout{60};
    // The exchange fails when no byte moves for this long.
    std::chrono::seconds stallTimeout{60};
};

struct HttpReply {
    int status = 0;
    std::string reasonPhrase; // of the final status line
    std::string contentType;  // the header's value, empty when absent
    std::string body;         // the bytes as received
};

// The client library could not complete the exchange: Kind() is the class
// of failure (name not resolved, refused, untrusted certificate, time-out,
// ...) and what() the library's own description.
class HttpTransportFailure : public std::runtime_error {
public:
    HttpTransportFailure(TransportFailureKind kind, const std::string& detail)
        : std::runtime_error(detail), kind_(kind) {}
    TransportFailureKind Kind() const noexcept { return kind_; }

private:
    TransportFailureKind kind_;
};

class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    // Opens a new connection for every call and closes it afterwards.
    // Throws HttpTransportFailure; rethrows whatever `onPiece` throws.
    virtual HttpReply Post(const HttpPostRequest& request) = 0;
};

std::unique_ptr<HttpTransport> MakeCurlHttpTransport();

} // namespace nfp
