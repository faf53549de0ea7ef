// The systemd user unit's command, run as the user manager runs it, against
// the local service: every profile's files of the month before this one go
// out and the PDF summary lands in the user's documents folder, named for
// that month.
#include "lote_fixture.h"

#include "pdf_test_support.h"
#include "sending/local_moment.h"
#include "util/date_code.h"

#include <fstream>
#include <sstream>

#ifndef NFP_SOURCE_DIR
#error "NFP_SOURCE_DIR must name the source folder"
#endif

namespace nfp::test {
namespace {

// The unit's ExecStart as the user manager reads it: continued lines
// joined, "$$" and "%%" undone. The command is /bin/sh -c '<script>'.
std::string UnitScript(const std::filesystem::path& unit)
{
    std::ifstream in(unit);
    std::string joined, line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\\') {
            line.back() = ' ';
            joined += line;
            continue;
        }
        joined += line + "\n";
    }
    std::istringstream lines(joined);
    std::string execStart;
    while (std::getline(lines, line))
        if (line.starts_with("ExecStart="))
            execStart = line.substr(10);
    std::string value;
    for (std::size_t i = 0; i < execStart.size(); ++i) {
        if ((execStart[i] == '$' || execStart[i] == '%') && i + 1 < execStart.size() &&
            execStart[i + 1] == execStart[i])
            ++i;
        value += execStart[i];
    }
    const std::string prefix = "/bin/sh -c '";
    EXPECT_TRUE(value.starts_with(prefix)) << value;
    EXPECT_TRUE(value.ends_with("'")) << value;
    return value.substr(prefix.size(), value.size() - prefix.size() - 1);
}

class LoteUnitTest : public LoteTest {};

TEST_F(LoteUnitTest, TheMonthlyUnitSendsLastMonthAndLeavesThePdfInTheDocumentsFolder)
{
    using namespace std::chrono;
    const Date today = SystemLocalNow().date;
    const year_month previous = today.year() / today.month() - months{1};
    const std::string lastMonth = DateToCode(Date{previous / day{1}});
    const std::string thisMonth = DateToCode(today);
    SaveDemo("demo");
    SaveContador("44555666000181", "contador");
    WriteFile("demo", "CF1." + lastMonth, "E01|11222333000181|1\r\n");
    WriteFile("demo", "CF2." + lastMonth, "E01|11222333000181|2\r\n");
    WriteFile("demo", "CF3." + thisMonth, "E01|11222333000181|3\r\n");
    WriteFile("contador", "CF1." + lastMonth, "E01|44555666000181|1\r\n");
    // The documents folder as xdg-user-dirs names it.
    std::filesystem::create_directories(folder / "config");
    std::ofstream(folder / "config" / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\n";

    auto environment = Environment();
    const std::string programFolder = std::filesystem::path(LoteProgramPath()).parent_path().string();
    environment["PATH"] = programFolder + ":/usr/bin:/bin";
    LoteProcess unit({"-c", UnitScript(std::filesystem::path(NFP_SOURCE_DIR) / "data" / "nfp-envio-lote.service")},
                     environment, folder, "/bin/sh");
    const ProgramEnd end = unit.Wait();
    EXPECT_EQ(end.status, 0) << end.out << end.err;

    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02u", static_cast<int>(previous.year()),
                  static_cast<unsigned>(previous.month()));
    const std::filesystem::path pdf = folder / "Documentos" / (std::string("nfp-envio-resumo-") + month + ".pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf)) << end.err;
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "CF1." + lastMonth},
                                      {"11222333000181", "CF2." + lastMonth},
                                      {"44555666000181", "CF1." + lastMonth}}));
    const std::string text = PdfText(pdf.string());
    for (const auto& r : service->Requests())
        EXPECT_NE(text.find("Protocolo " + r.issued), std::string::npos) << r.issued;
    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 3u);
    for (const auto& e : journal)
        EXPECT_EQ(e.situacao, "aceito");
}

} // namespace
} // namespace nfp::test
