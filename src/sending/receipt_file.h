#pragma once
// Reading a queued receipt file whole.
#include <stdexcept>
#include <string>

namespace nfp {

// The platform's file error: Cannot open file "<path>". <reason>
class FileOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's bytes. A file that cannot be opened or read (missing, a folder,
// no permission) throws FileOpenError.
std::string ReadReceiptFile(const std::string& path);

} // namespace nfp
