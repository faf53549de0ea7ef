#pragma once
// An operation that ends without a further message: the user cancelled, or a
// message was already shown. The global error display shows nothing for it.
#include <exception>

namespace nfp {

class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

} // namespace nfp
