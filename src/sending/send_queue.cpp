#include "sending/send_queue.h"

#include <cctype>

namespace nfp {

void AppendQueueRow(MemoryTable& queue, std::string_view arquivo, std::string_view caminho)
{
    queue.Append();
    queue.SetField("Arquivo", arquivo);
    queue.SetField("Caminho", caminho);
    queue.Post();
}

std::string FolderWithSeparator(std::string_view folder)
{
    std::string result(folder);
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

std::string QueuedFilePath(const MemoryTable& queue)
{
    return queue.FieldText("Caminho") + queue.FieldText("Arquivo");
}

namespace {

bool SameLetter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

} // namespace

bool MatchesFilePattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one back-tracking point for the last "*".
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace nfp
