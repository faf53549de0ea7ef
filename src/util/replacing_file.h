#pragma once
// A file written next to its destination under a temporary name and renamed
// over it only once it is complete: until Commit the destination is
// untouched, and a file not committed is removed. A destination that is a
// symbolic link stays a link; the file it names is replaced.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace nfp {

// A UTF-8 file name as a path.
std::filesystem::path PathOfUtf8(const std::string& utf8);

class ReplacingFile {
public:
    // Nothing, with the system's error number in `error`, when no temporary
    // file could be created beside `destination` (a UTF-8 name).
    static std::unique_ptr<ReplacingFile> Create(const std::string& destination, int& error);

    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const std::filesystem::path& TempPath() const { return temp_; }
    const std::filesystem::path& Target() const { return target_; }

    bool Write(std::string_view bytes);
    bool Flush();

    // Lets another writer (a print job, a PDF writer) fill the temporary
    // file by its name.
    void HandOver();

    // Renames the temporary file over the destination (keeping the
    // destination's permissions). False when that, or the last write, failed.
    bool Commit();

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    ReplacingFile(std::filesystem::path target, std::filesystem::path temp, std::FILE* file);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::unique_ptr<std::FILE, Closer> file_;
    bool committed_ = false;
};

} // namespace nfp
