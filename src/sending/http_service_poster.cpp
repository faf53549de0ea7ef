#include "sending/http_service_poster.h"

namespace nfp {

std::string HttpServicePoster::Post(std::string_view request, const PostingDataHandler& progress)
{
    http_.OnPostingData = progress;
    // The handler refers to the caller's state; it must not outlive the call.
    struct Reset {
        THttpPoster& http;
        ~Reset() { http.OnPostingData = nullptr; }
    } reset{http_};
    return http_.PostServiceRequest(request);
}

} // namespace nfp
