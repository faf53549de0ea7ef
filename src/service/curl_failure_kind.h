#pragma once
// Which class of failure a libcurl result code stands for, with what the
// library tells besides it: the system's error number of the last connect
// and its own description of the failure.
#include <string_view>

#include "service/transport_failure_text.h"

namespace nfp {

TransportFailureKind ClassifyCurlFailure(int curlCode, long osErrno, std::string_view detail);

} // namespace nfp
