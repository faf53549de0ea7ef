#include "service/http_poster.h"

#include <cctype>
#include <string>

#include "service/service_http_error.h"

namespace nfp {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

void CheckServiceUrl(std::string_view url) {
    const auto end = url.find("://");
    const std::string_view scheme = end == std::string_view::npos ? std::string_view{} : url.substr(0, end);
    if (!EqualsNoCase(scheme, "http") && !EqualsNoCase(scheme, "https")) {
        throw EServiceHttpError("Invalid url '" + std::string(url) + "' - only supports 'http' and 'https' schemes");
    }
}

THttpPoster::THttpPoster(HttpPosterSettings settings, std::unique_ptr<HttpTransport> transport)
    : settings_(std::move(settings)), transport_(std::move(transport)) {}

std::string THttpPoster::PostServiceRequest(std::string_view requestText) {
    const std::string& url = settings_.endpoint;
    CheckServiceUrl(url);

    HttpPostRequest request;
    request.url = url;
    request.headers = {"SOAPAction: \"\"", "Content-Type: text/xml; charset=\"utf-8\""};
    request.userAgent = std::string(kAgent);
    request.body = requestText;
    request.largestPiece = kLargestPiece;
    request.onPiece = OnPostingData;
    request.caBundle = settings_.caBundle;
    request.connectTimeout = settings_.connectTimeout;
    request.stallTimeout = settings_.stallTimeout;

    HttpReply reply;
    try {
        reply = transport_->Post(request);
    } catch (const HttpTransportFailure& failure) {
        throw EServiceHttpError(TransportFailureMessage(failure.Kind(), failure.what()) + " - URL:" + url +
                                " - SOAPAction:\"\"");
    }
    if (reply.status >= 300 && reply.status != 500) {
        throw EServiceHttpError(reply.reasonPhrase + " (" + std::to_string(reply.status) + ") - '" + url + "'",
                                reply.status);
    }
    if (EqualsNoCase(reply.contentType, "text/plain") || EqualsNoCase(reply.contentType, "text/html")) {
        throw EServiceHttpError("Received content of invalid Content-Type setting: " + reply.contentType +
                                " - SOAP expects \"text/xml\"");
    }
    return std::move(reply.body);
}

} // namespace nfp
