#pragma once
// Real parts for report tests: a private temporary folder, the direct
// route writing real files, and a recorder standing in for message boxes.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "report/direct_port_route.h"
#include "report/rel_grade.h"
#include "recording_messages.h"

namespace nfp::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "nfp-report-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A report component printing on the direct route into `file`.
struct DirectReport {
    TRelGrade rel;
    RecordingMessages messages;
    DirectPortRoute route;
    explicit DirectReport(const std::string& file) {
        rel.services.messages = &messages;
        rel.services.directPort = &route;
        rel.UsaGerenciadorImpr = false;
        rel.PortaComunicacao = file;
        rel.MostrarProgresso = false;
    }
};

// Escape sequences for readable golden tables.
inline std::string Esc(const std::string& rest) { return "\x1B" + rest; }

} // namespace nfp::test
