#pragma once
// How a receipt file's bytes become the text of <ConteudoArquivo>.
//
// Preparing: the text ends before the first zero byte; the DOS end-of-file
// mark (bytes 0x1A at the very end, or just before a final line break) is
// dropped; every CR LF, lone CR and lone LF becomes CR LF; then the text is
// taken as UTF-8 when it is valid UTF-8 and otherwise read as Windows-1252
// and converted (an ASCII file is the same either way).
// Escaping: & < > " become &amp; &lt; &gt; &quot;, each character replaced
// once; the apostrophe stays.
//
// Each function makes a single pass over its input, except that a file which
// turns out not to be UTF-8 after a multi-byte character was already copied is
// read a second time as Windows-1252.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace nfp {

// Preparing and escaping: the whole of what goes into <ConteudoArquivo>.
std::string EscapeFileContent(std::string_view fileBytes);
void AppendEscapedFileContent(std::string& out, std::string_view fileBytes);

// The two halves, for callers that show progress in between.
std::string PrepareFileText(std::string_view fileBytes);
std::string EscapeFileMarkup(std::string_view preparedText);

// A byte that XML 1.0 cannot carry (a C0 control other than tab, CR and LF)
// in what preparing keeps of a file: the first one, and its line (1-based,
// lines as preparing breaks them).
struct ForbiddenControl {
    unsigned char byte = 0;
    std::size_t line = 0;
};
std::optional<ForbiddenControl> FindForbiddenControl(std::string_view fileBytes);

// "O arquivo <arquivo> contém o caractere de controle 0x0C na linha 12, que
// o serviço não aceita."
std::string ForbiddenControlText(std::string_view arquivo, const ForbiddenControl& found);

} // namespace nfp
