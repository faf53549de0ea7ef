#pragma once
// Reading a queued receipt file whole.
#include <stdexcept>
#include <string>
#include <utility>

namespace nfp {

// The platform's file error: Cannot open file "<path>". <reason>
class FileOpenError : public std::runtime_error {
public:
    FileOpenError(const std::string& message, std::string path, int error)
        : std::runtime_error(message), path_(std::move(path)), error_(error) {}
    const std::string& path() const noexcept { return path_; }
    int error() const noexcept { return error_; } // the system's error number

private:
    std::string path_;
    int error_;
};

// The file's bytes. A file that cannot be opened or read (missing, a folder,
// no permission) throws FileOpenError.
std::string ReadReceiptFile(const std::string& path);

} // namespace nfp
