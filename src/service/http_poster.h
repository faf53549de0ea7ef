#pragma once
// THttpPoster posts one request text to the service endpoint and returns the
// reply's bytes, synchronously on the calling thread. Every request opens a
// new connection. Certificate and host name are always verified.
//
// Failures raise EServiceHttpError with these texts:
//   "<sentence> (<client library's text>) - URL:<url> - SOAPAction:\"\""
//                                            transport failure; the Portuguese
//                                            sentence says what happened
//                                            (transport_failure_text.h)
//   "<reason phrase> (<status>) - '<url>'"   status of 300 or more other than 500
//                                            (StatusCode() is the status)
//   "Received content of invalid Content-Type setting: <value> - SOAP expects \"text/xml\""
//                                            reply Content-Type exactly text/plain or text/html
//   "Invalid url '<url>' - only supports 'http' and 'https' schemes"
// A status 500 (a SOAP fault) is returned as a reply like any other.
#include <memory>
#include <string>
#include <string_view>

#include "service/http_poster_settings.h"
#include "service/http_transport.h"

namespace nfp {

class THttpPoster {
public:
    static constexpr std::string_view kAgent = "Zeltra SOAP 1.1";
    // Larger bodies are posted in pieces of this size, with OnPostingData after each.
    static constexpr std::size_t kLargestPiece = 32768;

    explicit THttpPoster(HttpPosterSettings settings,
                         std::unique_ptr<HttpTransport> transport = MakeCurlHttpTransport());

    // Posts `requestText` (a request of BuildServiceEnvelope) to the
    // endpoint and returns the body of the reply, byte for byte.
    std::string PostServiceRequest(std::string_view requestText);

    // (sent, total) after each piece of a body of more than kLargestPiece
    // bytes; never called for a smaller body. An exception thrown here ends
    // the exchange and reaches the caller of PostServiceRequest.
    PostingDataHandler OnPostingData;

    const HttpPosterSettings& Settings() const noexcept { return settings_; }
    void SetSettings(HttpPosterSettings settings) { settings_ = std::move(settings); }

private:
    HttpPosterSettings settings_;
    std::unique_ptr<HttpTransport> transport_;
};

// Throws the "Invalid url" EServiceHttpError unless `url` is http or https.
void CheckServiceUrl(std::string_view url);

} // namespace nfp
