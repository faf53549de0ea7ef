// The journal as senders use it: stamped rows, and a journal that cannot be
// written warning once while the exchanges go on.
#include "journal/journal_recorder.h"
#include "journal_fixture.h"

#include <fstream>

namespace nfp::test {
namespace {

TEST(JournalRecorder, StampsEachRowWithTheClock)
{
    TempDir folder;
    const auto file = folder.path() / "envios.sqlite";
    int tick = 0;
    JournalRecorder recorder(file, {}, [&tick] { return "2026-12-10T15:40:1" + std::to_string(tick++) + "-03:00"; });
    recorder.Record(SentEntry("", "11222333000181", "A.C39"));
    recorder.Record(SentEntry("ignored", "11222333000181", "B.C39"));
    const auto rows = SendJournal(file).Find();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].entry.quando, "2026-12-10T15:40:10-03:00");
    EXPECT_EQ(rows[0].entry.quando, "2026-12-10T15:40:11-03:00");
}

TEST(JournalRecorder, AnUnwritableJournalWarnsOnceAndRecordsAgainWhenItIsBack)
{
    TempDir folder;
    const auto blocker = folder.path() / "dados";
    std::ofstream(blocker) << "um arquivo onde devia estar a pasta";
    const auto file = blocker / "envios.sqlite";
    std::vector<std::string> warnings;
    JournalRecorder recorder(file, [&warnings](const std::string& m) { warnings.push_back(m); });
    recorder.Record(SentEntry("", "11222333000181", "A.C39"));
    recorder.Record(SentEntry("", "11222333000181", "B.C39"));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Não foi possível gravar o histórico de envios em " + file.string() +
                               ": parte do caminho não é uma pasta. Os envios continuam, mas não ficam registrados.");

    std::filesystem::remove(blocker);
    recorder.Record(SentEntry("", "11222333000181", "C.C39"));
    EXPECT_EQ(warnings.size(), 1u);
    const auto rows = SendJournal(file).Find();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].entry.arquivo, "C.C39");
}

} // namespace
} // namespace nfp::test
