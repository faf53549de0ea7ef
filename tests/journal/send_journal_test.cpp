// The send journal on real SQLite files: what a row keeps, the filters, the
// file's permissions and schema version, durability when the writer is
// killed, two writers at once, and files it cannot use.
#include "journal/journal_failure.h"
#include "journal/send_journal.h"
#include "journal_fixture.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <chrono>
#include <memory>
#include <thread>
#include <set>

namespace nfp::test {
namespace {

class SendJournalTest : public ::testing::Test {
protected:
    std::filesystem::path File() const { return folder.path() / "dados" / "nfp-envio" / "envios.sqlite"; }
    TempDir folder;
};

// Reads the file with SQLite alone, as a person with the sqlite3 shell would.
std::string QueryText(const std::filesystem::path& file, const char* sql)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    std::string out;
    sqlite3_exec(
        db, sql,
        [](void* text, int columns, char** values, char**) {
            auto& s = *static_cast<std::string*>(text);
            for (int i = 0; i < columns; ++i)
                s += std::string(values[i] ? values[i] : "NULL") + (i + 1 < columns ? "|" : "\n");
            return 0;
        },
        &out, nullptr);
    sqlite3_close(db);
    return out;
}

TEST_F(SendJournalTest, ARowKeepsEveryFieldAndAQueryItsNulls)
{
    SendJournal journal(File());
    JournalEntry sent = SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "A.C39");
    sent.resultado = std::string(600, 'x') + " ção"; // whole, not cut to 480
    JournalEntry query;
    query.quando = "2026-12-10T15:41:00-03:00";
    query.operacao = "Consultar";
    query.cnpj = "44555666000181";
    query.usuario = "contador";
    query.categoria = 2;
    query.protocolo = "100000001";
    query.resultado = "Arquivo de lote não localizado.";
    query.situacao = kSituacaoRecusado;
    const auto first = journal.Append(sent);
    const auto second = journal.Append(query);
    EXPECT_LT(first, second);

    const auto rows = journal.Find();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].id, second); // newest first
    EXPECT_EQ(rows[1].id, first);
    const JournalEntry& a = rows[1].entry;
    EXPECT_EQ(a.quando, sent.quando);
    EXPECT_EQ(a.operacao, "Enviar");
    EXPECT_EQ(a.cnpj, sent.cnpj);
    EXPECT_EQ(a.usuario, "demo");
    EXPECT_EQ(a.categoria, 1);
    EXPECT_EQ(a.arquivo, "A.C39");
    EXPECT_EQ(a.pasta, sent.pasta);
    EXPECT_EQ(a.tamanho, 42);
    EXPECT_EQ(a.sha256, sent.sha256);
    EXPECT_EQ(a.envioNormal, 1);
    EXPECT_EQ(a.protocolo, "100000001");
    EXPECT_EQ(a.resultado, sent.resultado);
    EXPECT_EQ(a.situacao, "aceito");
    const JournalEntry& q = rows[0].entry;
    EXPECT_FALSE(q.tamanho);
    EXPECT_FALSE(q.sha256);
    EXPECT_FALSE(q.envioNormal);
    EXPECT_EQ(q.resultado, query.resultado);
    EXPECT_EQ(QueryText(File(), "SELECT tamanho, sha256, envio_normal FROM envios WHERE operacao = 'Consultar'"),
              "NULL|NULL|NULL\n");
}

TEST_F(SendJournalTest, TheFileHasItsSchemaVersionWalModeAndOwnerOnlyPermissions)
{
    {
        SendJournal journal(File());
        journal.Append(SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "A.C39"));
    }
    EXPECT_EQ(QueryText(File(), "PRAGMA user_version"), std::to_string(kJournalSchemaVersion) + "\n");
    EXPECT_EQ(QueryText(File(), "PRAGMA journal_mode"), "wal\n");
    EXPECT_EQ(QueryText(File(), "SELECT group_concat(name, ',') FROM pragma_table_info('envios')"),
              "id,quando,operacao,cnpj,usuario,categoria,arquivo,pasta,tamanho,sha256,envio_normal,protocolo,"
              "resultado,situacao\n");
    struct stat info {};
    ASSERT_EQ(::stat(File().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(File().parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(File().parent_path().parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // Opening it again neither recreates nor migrates it.
    SendJournal again(File());
    EXPECT_EQ(again.Find().size(), 1u);
}

TEST_F(SendJournalTest, FiltersByCnpjMonthYearAndSituation)
{
    SendJournal journal(File());
    journal.Append(SentEntry("2025-12-31T23:59:59-03:00", "11222333000181", "A.B3U"));
    journal.Append(SentEntry("2026-01-01T00:00:00-03:00", "11222333000181", "B.C11"));
    journal.Append(SentEntry("2026-12-01T08:00:00-03:00", "44555666000181", "C.C1C", kSituacaoRecusado));
    journal.Append(SentEntry("2026-12-10T09:00:00-03:00", "11222333000181", "D.C3A", kSituacaoFalha));
    struct Case {
        const char* name;
        JournalFilter filter;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"everything", {}, {"D.C3A", "C.C1C", "B.C11", "A.B3U"}},
        {"one CNPJ", {.cnpj = "44555666000181"}, {"C.C1C"}},
        {"a year", {.year = 2026}, {"D.C3A", "C.C1C", "B.C11"}},
        {"December of a year", {.year = 2026, .month = 12}, {"D.C3A", "C.C1C"}},
        {"December of any year", {.month = 12}, {"D.C3A", "C.C1C", "A.B3U"}},
        {"January", {.year = 2026, .month = 1}, {"B.C11"}},
        {"a situation", {.situacao = std::string(kSituacaoFalha)}, {"D.C3A"}},
        {"all together", {.cnpj = "11222333000181", .year = 2026, .month = 12, .situacao = "aceito"}, {}},
        {"a year with nothing", {.year = 2024}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> files;
        for (const JournalRow& row : journal.Find(c.filter))
            files.push_back(row.entry.arquivo);
        EXPECT_EQ(files, c.files);
    }
    EXPECT_EQ(journal.Cnpjs(), (std::vector<std::string>{"11222333000181", "44555666000181"}));
    EXPECT_EQ(journal.Years(), (std::vector<int>{2026, 2025}));
}

// What was committed survives the writer being killed right after.
TEST_F(SendJournalTest, ACommittedRowSurvivesTheWriterBeingKilled)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SendJournal journal(File());
        journal.Append(SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "KILLED.C39"));
        const char done = 1;
        (void)!::write(ready[1], &done, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    SendJournal journal(File());
    const auto rows = journal.Find();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].entry.arquivo, "KILLED.C39");
}

TEST_F(SendJournalTest, TwoProgramsWritingAtOnceBothSucceed)
{
    constexpr int kRows = 150;
    std::vector<pid_t> children;
    for (const char* cnpj : {"11222333000181", "44555666000181"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int code = 0;
            try {
                // Both open a file that does not exist yet.
                SendJournal journal(File());
                for (int i = 0; i < kRows; ++i)
                    journal.Append(SentEntry("2026-12-10T15:40:11-03:00", cnpj, std::to_string(i)));
            } catch (const std::exception& e) {
                std::fprintf(stderr, "%s\n", e.what());
                code = 1;
            }
            ::_exit(code);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    SendJournal journal(File());
    EXPECT_EQ(journal.Find({.cnpj = "11222333000181"}).size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(journal.Find({.cnpj = "44555666000181"}).size(), static_cast<std::size_t>(kRows));
}

TEST_F(SendJournalTest, OpeningWaitsForAnotherProgramsTransactionBeforeChangingTheFilesMode)
{
    // A file another program opened first, still in SQLite's default mode
    // and in the middle of a write: switching it to the write-ahead log
    // needs it alone, and SQLite says "busy" at once instead of waiting.
    std::filesystem::create_directories(File().parent_path());
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(File().c_str(), &raw), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> other(raw, sqlite3_close);
    ASSERT_EQ(sqlite3_exec(raw, "CREATE TABLE outra (x); BEGIN IMMEDIATE; INSERT INTO outra VALUES (1);", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    std::thread commit([raw] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
    });
    try {
        SendJournal journal(File());
        journal.Append(SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "1"));
        EXPECT_EQ(journal.Find({}).size(), 1u);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    commit.join();
}

TEST_F(SendJournalTest, AFileItCannotUseIsRefusedWithTheReasonInPortuguese)
{
    const std::filesystem::path plainFile = folder.path() / "arquivo.txt";
    std::ofstream(plainFile) << "não é uma pasta";
    const std::filesystem::path notADatabase = folder.path() / "lixo.sqlite";
    std::ofstream(notADatabase) << std::string(4096, 'x');
    struct Case {
        const char* name;
        std::filesystem::path file;
        std::string reason;
    };
    const Case cases[] = {
        {"a folder that is a file", plainFile / "envios.sqlite", "parte do caminho não é uma pasta"},
        {"a file that is not a database", notADatabase,
         "o arquivo não é um histórico de envios válido ou está danificado"},
        {"a folder in place of the file", folder.path(), "o arquivo não pôde ser aberto nem criado"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            SendJournal journal(c.file);
            journal.Append(SentEntry("2026-12-10T15:40:11-03:00", "11222333000181", "A.C39"));
            ADD_FAILURE() << "no error";
        } catch (const JournalError& e) {
            EXPECT_EQ(e.what(), c.reason);
        }
    }
    // Nothing of the refused file was changed.
    std::ifstream in(notADatabase);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string(4096, 'x'));
}

TEST(JournalFailure, TheMessageNamesTheFileAndTheReason)
{
    EXPECT_EQ(JournalFailureMessage("/home/u/envios.sqlite", "não há espaço livre no disco"),
              "Não foi possível gravar o histórico de envios em /home/u/envios.sqlite: não há espaço livre no "
              "disco. Os envios continuam, mas não ficam registrados.");
    EXPECT_EQ(JournalReasonForSqlite(SQLITE_FULL, "database or disk is full"), "não há espaço livre no disco");
    EXPECT_EQ(JournalReasonForSqlite(SQLITE_READONLY | (1 << 8), "x"), "o arquivo só pode ser lido");
    EXPECT_EQ(JournalReasonForErrno(EACCES), "permissão negada");
}

} // namespace
} // namespace nfp::test
