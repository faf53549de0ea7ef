#pragma once
// A CUPS scheduler of the test's own: private configuration and spool in a
// temporary folder, its own free port, raw queues whose device is a socket
// listener of the test that records what arrives.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <cups/cups.h>

#include "report_test_support.h"

namespace nfp::test {

inline std::optional<std::string> FindCupsd() {
    for (const char* p : {"/usr/sbin/cupsd", "/usr/local/sbin/cupsd", "/sbin/cupsd"})
        if (::access(p, X_OK) == 0) return std::string(p);
    if (const char* path = std::getenv("PATH")) {
        std::string dirs(path);
        std::size_t start = 0;
        while (start <= dirs.size()) {
            const std::size_t colon = dirs.find(':', start);
            const std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
            const std::string candidate = dir + "/cupsd";
            if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
            if (colon == std::string::npos) break;
            start = colon + 1;
        }
    }
    return std::nullopt;
}

// A listening socket on 127.0.0.1 with a port the system chose.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 8);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~Listener() { if (fd_ >= 0) ::close(fd_); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    int fd() const { return fd_; }
    int port() const { return port_; }
    // Gives the port back so that another program can bind it.
    void Release() { ::close(fd_); fd_ = -1; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// The printer end of a socket:// queue: every connection is one job.
class RecordingPrinter {
public:
    RecordingPrinter() : thread_([this] { Run(); }) {}
    ~RecordingPrinter() {
        stop_ = true;
        thread_.join();
    }
    RecordingPrinter(const RecordingPrinter&) = delete;
    RecordingPrinter& operator=(const RecordingPrinter&) = delete;
    int port() const { return listener_.port(); }

    // The next job's bytes; nothing if none arrives within the limit (a
    // guard against a hang, not a speed check).
    std::optional<std::string> NextJob(std::chrono::seconds limit = std::chrono::seconds(60)) {
        std::unique_lock lock(mutex_);
        if (!ready_.wait_for(lock, limit, [&] { return !jobs_.empty(); })) return std::nullopt;
        std::string job = std::move(jobs_.front());
        jobs_.erase(jobs_.begin());
        return job;
    }

private:
    void Run() {
        while (!stop_) {
            pollfd p{listener_.fd(), POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            const int c = ::accept4(listener_.fd(), nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0) continue;
            std::string data;
            char buf[4096];
            while (true) {
                const ssize_t n = ::recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                data.append(buf, static_cast<std::size_t>(n));
            }
            ::close(c);
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(data));
            ready_.notify_all();
        }
    }

    Listener listener_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::string> jobs_;
    std::thread thread_;
};

class PrivateCups {
public:
    // Throws std::runtime_error when the scheduler does not come up.
    explicit PrivateCups(const std::string& cupsd) {
        const auto& base = dir_.path();
        ::chmod(base.c_str(), 0755); // the scheduler's children run as another user
        for (const char* sub : {"spool", "spool/tmp", "log", "cache", "state"})
            std::filesystem::create_directories(base / sub);
        // The port is free when reserved but may be taken before the scheduler
        // binds it (tests run in parallel); a scheduler that could not bind
        // listens nowhere, and whoever holds the port would answer for it. So
        // it counts as up only once its own log says it listens there.
        std::string log;
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (Start(cupsd)) {
                // The environment of this test process points libcups at it.
                server_ = "127.0.0.1:" + std::to_string(port_);
                ::setenv("CUPS_SERVER", server_.c_str(), 1);
                ::setenv("HOME", base.c_str(), 1); // no lpoptions of the user
                ::unsetenv("LPDEST");
                ::unsetenv("PRINTER");
                cupsSetServer(server_.c_str());
                return;
            }
            log = ErrorLog();
            Stop();
        }
        throw std::runtime_error("cupsd did not start: " + log);
    }
    ~PrivateCups() { Stop(); }
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // A raw queue (no driver) printing to socket://127.0.0.1:devicePort.
    void AddRawQueue(const std::string& name, int devicePort, bool makeDefault) {
        Request(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name, [&](ipp_t* r) {
            const std::string device = "socket://127.0.0.1:" + std::to_string(devicePort);
            ippAddString(r, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, device.c_str());
            ippAddBoolean(r, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
            ippAddInteger(r, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
        });
        if (makeDefault) Request(IPP_OP_CUPS_SET_DEFAULT, name, [](ipp_t*) {});
    }

    std::string ErrorLog() const { return ReadAll((dir_.path() / "log/error_log").string()); }

private:
    template <typename Fill>
    void Request(ipp_op_t op, const std::string& name, Fill fill) {
        http_t* http = httpConnect2("127.0.0.1", port_, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 30000, nullptr);
        if (!http) throw std::runtime_error("no connection to the private scheduler");
        char uri[512];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                         name.c_str());
        ipp_t* request = ippNewRequest(op);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        fill(request);
        ippDelete(cupsDoRequest(http, request, "/admin/"));
        const ipp_status_t status = cupsLastError();
        const std::string text = cupsLastErrorString() ? cupsLastErrorString() : "";
        httpClose(http);
        if (status > IPP_STATUS_OK_CONFLICTING)
            throw std::runtime_error("scheduler refused " + std::string(ippOpString(op)) + ": " + text);
    }

    bool Start(const std::string& cupsd) {
        const auto& base = dir_.path();
        Listener reserve;
        port_ = reserve.port();
        reserve.Release();

        // Children of a scheduler started as root run as lp; otherwise as
        // ourselves. The admin group only has to differ from Group.
        std::string user = "lp", group = "lp", systemGroup = "root";
        if (::geteuid() != 0) {
            const passwd* pw = ::getpwuid(::geteuid());
            user = pw ? pw->pw_name : std::to_string(::geteuid());
            const struct group* gr = ::getgrgid(::getegid());
            group = gr ? gr->gr_name : std::to_string(::getegid());
            if (group == "root") systemGroup = "lp";
        }
        {
            std::ofstream conf(base / "cupsd.conf");
            conf << "Listen 127.0.0.1:" << port_ << "\n"
                 << "Browsing Off\nDefaultAuthType None\nWebInterface No\nLogLevel info\n"
                 << "MaxJobs 0\nPreserveJobHistory No\n"
                 << "<Policy default>\n  <Limit All>\n    Order Allow,Deny\n    Allow all\n  </Limit>\n</Policy>\n"
                 << "<Location />\n  Order Allow,Deny\n  Allow all\n</Location>\n";
            std::ofstream files(base / "cups-files.conf");
            files << "ServerRoot " << base.string() << "\n"
                  << "StateDir " << (base / "state").string() << "\n"
                  << "CacheDir " << (base / "cache").string() << "\n"
                  << "RequestRoot " << (base / "spool").string() << "\n"
                  << "TempDir " << (base / "spool/tmp").string() << "\n"
                  << "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                  << "AccessLog " << (base / "log/access_log").string() << "\n"
                  << "ErrorLog " << (base / "log/error_log").string() << "\n"
                  << "PageLog " << (base / "log/page_log").string() << "\n"
                  << "Printcap " << (base / "printcap").string() << "\n"
                  << "User " << user << "\nGroup " << group << "\nSystemGroup " << systemGroup << "\n";
            std::ofstream(base / "log/error_log", std::ios::trunc);
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            const std::string conf = (base / "cupsd.conf").string();
            const std::string files = (base / "cups-files.conf").string();
            ::execl(cupsd.c_str(), cupsd.c_str(), "-f", "-c", conf.c_str(), "-s", files.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid_ > 0 && WaitUntilUp();
    }

    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }

    // Up when the scheduler's own log says it listens on our port and a
    // connection there is taken; not up when it could not bind or has ended.
    bool WaitUntilUp() {
        const std::string listening = "Listening to 127.0.0.1:" + std::to_string(port_) + " ";
        for (int i = 0; i < 600; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            const std::string log = ErrorLog();
            if (log.find("Unable to open listen socket") != std::string::npos) return false;
            if (log.find(listening) != std::string::npos) {
                const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                sockaddr_in a{};
                a.sin_family = AF_INET;
                a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
                a.sin_port = htons(static_cast<uint16_t>(port_));
                const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
                ::close(fd);
                if (up) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    TempDir dir_;
    int port_ = 0;
    pid_t pid_ = -1;
    std::string server_;
};

} // namespace nfp::test
