// The plain rules of sending: file patterns, folders, the question text,
// reading receipt files and finding a month's entries in a folder.
#include "sending/folder_search.h"
#include "sending/receipt_file.h"
#include "sending/send_queue.h"
#include "sending/send_run.h"
#include "util/table_layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace nfp {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
    {
        std::random_device rd;
        path_ = fs::temp_directory_path() / ("nfp-sending-" + std::to_string(rd()) + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    fs::path path_;
};

TEST(FilePattern, MonthPatternsMatchLikeTheSourcePlatform)
{
    struct Case { const char* name; const char* pattern; bool matches; };
    const Case cases[] = {
        {"A.139", "*.?39", true},
        {"x.j39", "*.?39", true},   // letter case does not matter
        {"X.J39", "*.?j39", false}, // "?" stands for exactly one character
        {"b.V39", "*.?39", true},
        {"b.139", "*.?3A", false},
        {"b.1390", "*.?39", false},
        {"b.39", "*.?39", false},
        {"lote.2009.139", "*.?39", true},
        {".139", "*.?39", true},
        {"semextensao", "*.?39", false},
        {"a.1aa", "*.?AA", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesFilePattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

TEST(FilePattern, FolderGetsExactlyOneSeparator)
{
    EXPECT_EQ(FolderWithSeparator("/dados/nfp"), "/dados/nfp/");
    EXPECT_EQ(FolderWithSeparator("/dados/nfp/"), "/dados/nfp/");
    EXPECT_EQ(FolderWithSeparator("/"), "/");
    EXPECT_EQ(FolderWithSeparator(""), "/");
}

TEST(SendQueue, RowsStandInNameOrderAndAreCut)
{
    MemoryTable queue(SendQueueLayout());
    AppendQueueRow(queue, "Z.139", "/b/");
    AppendQueueRow(queue, "A.139", "/a/");
    AppendQueueRow(queue, "NOME-MUITO-LONGO.139", "/c/");
    queue.First();
    EXPECT_EQ(QueuedFilePath(queue), "/a/A.139");
    queue.Next();
    EXPECT_EQ(queue.FieldText("Arquivo"), "NOME-MUITO-L");
    queue.Next();
    EXPECT_EQ(QueuedFilePath(queue), "/b/Z.139");
}

TEST(SendRun, QuestionAfterAnUnexpectedReply)
{
    EXPECT_EQ(UnexpectedReplyQuestion("302|Arquivo vazio"),
              "O Retorno do envio não foi o esperado:\r\r302|Arquivo vazio\r\rDeseja interromper o envio ?");
    EXPECT_EQ(UnexpectedReplyQuestion(""),
              "O Retorno do envio não foi o esperado:\r\r\r\rDeseja interromper o envio ?");
}

TEST(SendRun, ResultTextIsUtf8OrWindows1252)
{
    EXPECT_EQ(DecodedResultText("Usu\xC3\xA1rio"), "Usuário");
    EXPECT_EQ(DecodedResultText("Usu\xE1rio"), "Usuário");
    EXPECT_EQ(DecodedResultText("&lt;ok&gt;"), "&lt;ok&gt;");
}

TEST(FolderSearch, FindsFilesHiddenEntriesAndSubFoldersOfTheMonth)
{
    TempFolder folder;
    folder.Write("A.139", "a");
    folder.Write(".oculto.239", "b");
    folder.Write("c.j39", "c");
    folder.Write("D.140", "d");
    folder.Write("E.139.bak", "e");
    fs::create_directory(folder.path() / "PASTA.339");
    fs::create_directory(folder.path() / "sub");
    folder.Write("sub/F.139", "f");
    auto names = FindFolderEntries(folder.path().string() + "/", "*.?39");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".oculto.239", "A.139", "PASTA.339", "c.j39"}));
    EXPECT_TRUE(FindFolderEntries(folder.path().string() + "/nada/", "*.?39").empty());
}

TEST(ReceiptFile, ReadsWholeFilesAndNamesTheFileThatFails)
{
    TempFolder folder;
    const std::string bytes("linha 1\r\nlinha 2\0fim", 20);
    folder.Write("A.139", bytes);
    EXPECT_EQ(ReadReceiptFile((folder.path() / "A.139").string()), bytes);

    fs::create_directory(folder.path() / "C.139");
    const struct {
        const char* name;
        const char* reason;
    } failures[] = {{"B.139", "No such file or directory"}, {"C.139", "Is a directory"}};
    for (const auto& c : failures) {
        const std::string path = (folder.path() / c.name).string();
        try {
            ReadReceiptFile(path);
            FAIL() << "no error for " << c.name;
        } catch (const FileOpenError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". " + c.reason);
        }
    }
}

} // namespace
} // namespace nfp
