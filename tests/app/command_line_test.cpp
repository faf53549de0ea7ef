// The command line: read as a table of cases, then the program itself run
// without any display, so nothing but the arguments may be looked at.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef NFP_ENVIO_PATH
#error "NFP_ENVIO_PATH must name the nfp-envio executable"
#endif

extern char** environ;

namespace nfp {
namespace {

struct CommandCase {
    const char* name;
    std::vector<const char*> arguments;
    bool openWindow;
    int exitStatus;
    const char* standardOutput; // nullptr: the usage
    const char* refusedArgument; // nullptr: nothing refused
};

const std::vector<CommandCase>& Cases()
{
    static const std::vector<CommandCase> cases = {
        {"no_argument", {}, true, 0, "", nullptr},
        {"version", {"--version"}, false, 0, "nfp-envio 1.0.0.4\n", nullptr},
        {"help", {"--help"}, false, 0, nullptr, nullptr},
        {"unknown_option", {"--versao"}, false, kExitUsage, "", "--versao"},
        {"short_option", {"-h"}, false, kExitUsage, "", "-h"},
        {"a_file", {"arquivo.txt"}, false, kExitUsage, "", "arquivo.txt"},
        {"qt_option", {"-platform"}, false, kExitUsage, "", "-platform"},
        {"version_and_more", {"--version", "x"}, false, kExitUsage, "", "x"},
        {"empty_argument", {""}, false, kExitUsage, "", ""},
    };
    return cases;
}

class CommandLine : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandLine, DecidesBeforeAnyWindow)
{
    const CommandCase& c = GetParam();
    const CommandLineResult r = ReadCommandLine(c.arguments);
    EXPECT_EQ(r.openWindow, c.openWindow);
    EXPECT_EQ(r.exitStatus, c.exitStatus);
    EXPECT_EQ(r.standardOutput, c.standardOutput ? std::string(c.standardOutput) : UsageText());
    if (c.refusedArgument) {
        EXPECT_EQ(r.standardError,
                  "nfp-envio: argumento não reconhecido: " + std::string(c.refusedArgument) + "\n\n" + UsageText());
    } else {
        EXPECT_EQ(r.standardError, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLine, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLineUsage, IsPortugueseAndNamesBothOptions)
{
    const std::string usage = UsageText();
    EXPECT_TRUE(usage.starts_with("Uso: nfp-envio [--help | --version]\n")) << usage;
    EXPECT_NE(usage.find("mostra a versão do programa e sai"), std::string::npos);
    EXPECT_NE(usage.find("NFP_ENDPOINT"), std::string::npos);
    EXPECT_NE(usage.find("NFP_CA_BUNDLE"), std::string::npos);
}

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadWhole(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the program with no display at all, where Qt would end the process if
// anything asked it for the window system.
Finished RunWithoutDisplay(const std::vector<std::string>& arguments)
{
    QTemporaryDir dir;
    const std::string out = dir.filePath(QStringLiteral("out")).toStdString();
    const std::string err = dir.filePath(QStringLiteral("err")).toStdString();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=") ||
            entry.starts_with("QT_QPA_PLATFORM="))
            continue;
        env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=xcb");
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {NFP_ENVIO_PATH};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    Finished f;
    const int rc = posix_spawn(&pid, NFP_ENVIO_PATH, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return f;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    f.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    f.out = ReadWhole(out);
    f.err = ReadWhole(err);
    return f;
}

TEST(CommandLineProgram, VersionHelpAndRefusalWorkWithoutADisplay)
{
    const Finished version = RunWithoutDisplay({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "nfp-envio 1.0.0.4\n");
    EXPECT_EQ(version.err, "");

    const Finished help = RunWithoutDisplay({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, UsageText());
    EXPECT_EQ(help.err, "");

    const Finished wrong = RunWithoutDisplay({"--janela"});
    EXPECT_EQ(wrong.status, kExitUsage);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err, "nfp-envio: argumento não reconhecido: --janela\n\n" + UsageText());
}

} // namespace
} // namespace nfp
