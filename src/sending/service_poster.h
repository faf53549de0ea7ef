#pragma once
// The one thing the send run and the queries need from the HTTP side: post a
// request and hand back the reply, reporting the progress of a large one.
#include "service/http_transport.h"

#include <string>
#include <string_view>

namespace nfp {

class ServicePoster {
public:
    virtual ~ServicePoster() = default;
    // `progress` (sent, total) follows the posting of a request longer than
    // 32768 bytes. Failures throw EServiceHttpError.
    virtual std::string Post(std::string_view request, const PostingDataHandler& progress) = 0;
};

} // namespace nfp
