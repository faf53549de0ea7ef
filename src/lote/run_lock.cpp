#include "lote/run_lock.h"

#include "journal/journal_failure.h"
#include "util/private_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace nfp {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, int error)
{
    throw RunLockError("não foi possível usar o arquivo de trava " + file.string() + ": " + JournalReasonForErrno(error));
}

flock WholeFile(short type)
{
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

} // namespace

std::filesystem::path RunLockFileFor(const std::filesystem::path& journalFile)
{
    std::filesystem::path file = journalFile;
    file += ".lock";
    return file;
}

RunLock::RunLock(std::filesystem::path file) : file_(std::move(file))
{
    if (const int error = MakePrivateFolders(file_.parent_path()); error != 0)
        Fail(file_, error);
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0)
        Fail(file_, errno);
    flock lock = WholeFile(F_WRLCK);
    if (::fcntl(fd_, F_SETLK, &lock) != 0) {
        const int error = errno;
        if (error != EACCES && error != EAGAIN) {
            ::close(fd_);
            Fail(file_, error);
        }
        flock holder = WholeFile(F_WRLCK);
        const pid_t pid = ::fcntl(fd_, F_GETLK, &holder) == 0 && holder.l_type != F_UNLCK ? holder.l_pid : 0;
        ::close(fd_);
        fd_ = -1;
        throw RunLockBusy("outro envio já está em andamento" +
                              (pid > 0 ? " (processo " + std::to_string(pid) + ")" : std::string()) +
                              "; o arquivo de trava é " + file_.string() + ". Tente de novo quando ele terminar.",
                          pid);
    }
    // For the person who looks: the process that holds it.
    // The lock holds without the note when it cannot be written.
    const std::string pid = std::to_string(::getpid()) + "\n";
    [[maybe_unused]] const bool noted =
        ::ftruncate(fd_, 0) == 0 && ::pwrite(fd_, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

RunLock::~RunLock()
{
    if (fd_ < 0)
        return;
    // Emptied, not removed: a removed file could be locked anew by one run
    // while another still waits on the old one.
    [[maybe_unused]] const int emptied = ::ftruncate(fd_, 0);
    ::close(fd_);
}

} // namespace nfp
