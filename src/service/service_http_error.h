#pragma once
// A failed exchange with the service: transport failure, rejected status or
// unexpected content type. Nothing in the program catches it on purpose; its
// text is what the global error display shows.
#include <stdexcept>
#include <string>

namespace nfp {

class EServiceHttpError : public std::runtime_error {
public:
    explicit EServiceHttpError(const std::string& message, int statusCode = 0)
        : std::runtime_error(message), statusCode_(statusCode) {}
    // The HTTP status for a rejected status, 0 for every other failure.
    int StatusCode() const noexcept { return statusCode_; }

private:
    int statusCode_;
};

} // namespace nfp
