#pragma once
// A file the Windows registry editor exports (.reg), read as data: its keys
// in file order with their values. Both of the editor's formats are read:
// "Windows Registry Editor Version 5.00" (UTF-16 little-endian with a
// byte-order mark) and "REGEDIT4" (Windows-1252). A pure function over the
// file's bytes, so any bytes at all may be given to it.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

enum class RegistryExportFormat { Version5, Regedit4 };

enum class RegistryValueType {
    String,       // "text" or hex(1):
    ExpandString, // hex(2):
    Dword,        // dword: or hex(4): of four bytes
    Other,        // hex: and any other hex(n):
    Deleted,      // "name"=- : the file removes the value
};

struct RegistryValue {
    std::string name;         // UTF-8; empty for the key's default value (@)
    RegistryValueType type = RegistryValueType::String;
    std::u32string text;      // String, ExpandString: the characters, up to the first zero
    std::uint32_t number = 0; // Dword
    std::string bytes;        // the data of a hex form, as written
    std::size_t line = 0;     // 1-based line of the value's name
};

// A line that could not be read; the rest of the file still is.
struct RegistryExportProblem {
    std::size_t line = 0;
    std::string message; // Portuguese
};

struct RegistryKey {
    std::string path; // UTF-8, as written between the brackets (without the "-")
    bool deleted = false; // "[-...]": the file removes the key; it holds no values
    std::vector<RegistryValue> values;
    std::vector<RegistryExportProblem> problems; // lines of this key that could not be read
    std::size_t line = 0;
};

struct RegistryExport {
    RegistryExportFormat format = RegistryExportFormat::Version5;
    // Keys as they stand in the file; one named twice appears twice.
    std::vector<RegistryKey> keys;
    // Unreadable lines outside any key.
    std::vector<RegistryExportProblem> problems;
};

// Bytes that do not begin with either of the editor's headers.
class RegistryExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kNotARegistryExport =
    "O arquivo não é uma exportação do Editor do Registro do Windows (.reg)...\r\r"
    "Uma exportação começa com \"Windows Registry Editor Version 5.00\" ou com \"REGEDIT4\".";

// Throws RegistryExportError (kNotARegistryExport) for bytes that are not an
// export; anything after a valid header is read as far as it can be.
RegistryExport ParseRegistryExport(std::string_view bytes);

} // namespace nfp
