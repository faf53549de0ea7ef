#include "sending/receipt_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nfp {

namespace {

class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void Fail(const std::string& path, int error)
{
    throw FileOpenError("Cannot open file \"" + path + "\". " + std::strerror(error), path, error);
}

} // namespace

std::string ReadReceiptFile(const std::string& path)
{
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0)
        Fail(path, errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        Fail(path, errno);
    if (S_ISDIR(info.st_mode))
        Fail(path, EISDIR);
    std::string bytes;
    if (info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail(path, errno);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

} // namespace nfp
