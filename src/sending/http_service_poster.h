#pragma once
// The service poster over the program's HTTP component.
#include "sending/service_poster.h"
#include "service/http_poster.h"

namespace nfp {

class HttpServicePoster final : public ServicePoster {
public:
    explicit HttpServicePoster(THttpPoster& http) : http_(http) {}
    std::string Post(std::string_view request, const PostingDataHandler& progress) override;

private:
    THttpPoster& http_;
};

} // namespace nfp
