#include "util/replacing_file.h"

#include <cerrno>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace nfp {

namespace fs = std::filesystem;

namespace {

std::FILE* OpenNew(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wbx");
#else
    // "x": never opens a file that is already there.
    return std::fopen(path.c_str(), "wbx");
#endif
}

// The place a save ends up: a symbolic link is followed, so that the file it
// names is replaced and the link stays.
fs::path Destination(const fs::path& chosen) {
    std::error_code ec;
    if (!fs::is_symlink(chosen, ec)) return chosen;
    fs::path target = fs::read_symlink(chosen, ec);
    if (ec) return chosen;
    if (target.is_relative()) target = chosen.parent_path() / target;
    return target;
}

} // namespace

fs::path PathOfUtf8(const std::string& utf8) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

ReplacingFile::ReplacingFile(fs::path target, fs::path temp, std::FILE* file)
    : target_(std::move(target)), temp_(std::move(temp)), file_(file) {}

std::unique_ptr<ReplacingFile> ReplacingFile::Create(const std::string& destination, int& error) {
    error = 0;
    const fs::path target = Destination(PathOfUtf8(destination));
    const fs::path folder = target.parent_path();
    std::random_device seed;
    std::mt19937 random(seed());
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (int i = 0; i < 8; ++i) suffix += kLetters[pick(random)];
        fs::path temp = folder / fs::path("." + target.filename().string() + "." + suffix + ".tmp");
        errno = 0;
        if (std::FILE* f = OpenNew(temp))
            return std::unique_ptr<ReplacingFile>(new ReplacingFile(target, std::move(temp), f));
        error = errno ? errno : EIO;
        if (error != EEXIST) return nullptr;
    }
    return nullptr;
}

ReplacingFile::~ReplacingFile() {
    file_.reset();
    if (!committed_) {
        std::error_code ec;
        fs::remove(temp_, ec);
    }
}

bool ReplacingFile::Write(std::string_view bytes) {
    return file_ && std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
}

bool ReplacingFile::Flush() { return file_ && std::fflush(file_.get()) == 0; }

void ReplacingFile::HandOver() { file_.reset(); }

bool ReplacingFile::Commit() {
    if (file_) {
        if (std::fflush(file_.get()) != 0 || std::ferror(file_.get())) return false;
#if defined(__unix__) || defined(__APPLE__)
        if (::fsync(::fileno(file_.get())) != 0) return false;
#endif
        if (std::fclose(file_.release()) != 0) return false;
    }
    std::error_code ec;
    if (fs::exists(target_, ec)) {
        const auto perms = fs::status(target_, ec).permissions();
        if (!ec) fs::permissions(temp_, perms, ec);
    }
    fs::rename(temp_, target_, ec);
    if (ec) return false;
    committed_ = true;
    return true;
}

} // namespace nfp
