#include "report/print/direct_port_route.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace nfp {

namespace {

class FileJob : public TextJob {
public:
    explicit FileJob(int fd) : fd_(fd) {}
    ~FileJob() override {
        if (fd_ >= 0) ::close(fd_);
    }
    FileJob(const FileJob&) = delete;
    FileJob& operator=(const FileJob&) = delete;

    int Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return 0;
    }
    int Flush() override { return 0; } // nothing is buffered here
    int Finish() override {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

} // namespace

TextJobStart StartFileJob(const std::string& path) {
    if (path.empty()) return ENOENT;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    return std::unique_ptr<TextJob>(std::make_unique<FileJob>(fd));
}

TextJobStart DirectPortRoute::Start(const TextJobRequest& request) {
    return StartFileJob(request.destination);
}

} // namespace nfp
