#pragma once
// Two batch runs never send at once: each holds a lock file, next to the
// send journal, for as long as it runs. The lock is the system's record
// lock on the file, so it goes with the process however the process ends;
// the file itself stays and says which process held it last.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/types.h>

namespace nfp {

// Another process holds the lock.
class RunLockBusy : public std::runtime_error {
public:
    RunLockBusy(const std::string& message, pid_t holder) : std::runtime_error(message), holder_(holder) {}
    pid_t holder() const noexcept { return holder_; } // 0 when it could not be told
private:
    pid_t holder_;
};

// The lock file cannot be made or locked; what() says why, in Portuguese.
class RunLockError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<journal>.lock"
std::filesystem::path RunLockFileFor(const std::filesystem::path& journalFile);

class RunLock {
public:
    // Takes the lock on `file` (creating its folders, 0700, and the file,
    // 0600) without waiting. Throws RunLockBusy naming the holder, or
    // RunLockError.
    explicit RunLock(std::filesystem::path file);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    const std::filesystem::path& File() const noexcept { return file_; }

private:
    std::filesystem::path file_;
    int fd_ = -1;
};

} // namespace nfp
