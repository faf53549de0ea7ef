#include "lote_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#ifndef NFP_ENVIO_LOTE_PATH
#error "NFP_ENVIO_LOTE_PATH must name the nfp-envio-lote executable"
#endif

extern char** environ;

namespace nfp::test {

namespace {

const char* const kReplaced[] = {"NFP_ENDPOINT",    "NFP_CA_BUNDLE",   "NFP_JOURNAL", "XDG_CONFIG_HOME",
                                 "XDG_DATA_HOME",   "XDG_RUNTIME_DIR", "HOME"};

std::string ReadWhole(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

std::string LoteProgramPath()
{
    return NFP_ENVIO_LOTE_PATH;
}

LoteProcess::LoteProcess(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment,
                         const std::filesystem::path& outputFolder, const std::string& program)
{
    static int serial = 0;
    const std::string stem = "lote-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
    out_ = outputFolder / (stem + ".out");
    err_ = outputFolder / (stem + ".err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const char* name : kReplaced)
            replaced = replaced || entry.starts_with(std::string(name) + "=");
        for (const auto& given : environment)
            replaced = replaced || entry.starts_with(given.first + "=");
        if (!replaced)
            env.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        if (!value.empty())
            env.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + program);
}

LoteProcess::~LoteProcess()
{
    if (!waited_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

std::string LoteProcess::Out() const
{
    return ReadWhole(out_);
}

bool LoteProcess::WaitForOut(const std::string& text, std::chrono::milliseconds limit) const
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Out().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void LoteProcess::Signal(int signal) const
{
    ::kill(pid_, signal);
}

ProgramEnd LoteProcess::Wait()
{
    ProgramEnd e;
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
    if (WIFEXITED(status))
        e.status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        e.signal = WTERMSIG(status);
    e.out = ReadWhole(out_);
    e.err = ReadWhole(err_);
    return e;
}

ProgramEnd RunLoteProgram(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
                 const std::filesystem::path& outputFolder)
{
    LoteProcess process(arguments, environment, outputFolder);
    return process.Wait();
}

} // namespace nfp::test
