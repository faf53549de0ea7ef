// The report as a PDF document, under a QGuiApplication only: what a program
// without windows links to keep the sending summary as PDF.
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "report/graphics/qt_pdf_output.h"
#include "report/files/report_file_saver.h"
#include "report/layouts/sending_summary.h"
#include "pdf_test_support.h"
#include "report_test_support.h"

using namespace nfp;
using namespace nfp::test;

namespace {

std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Protocol(int i) { return std::to_string(100000000 + i); }

// The sending summary of `rows` accepted files, laid out and left open.
struct Summary {
    TRelGrade rel;
    RecordingMessages messages;
    QtPdfOutput pdf;
    explicit Summary(int rows) {
        ConfigureSendingSummaryEngine(rel);
        rel.services.messages = &messages;
        rel.services.pdf = &pdf;
        std::vector<SummaryRow> table;
        for (int i = 1; i <= rows; ++i)
            table.push_back({"CF" + std::to_string(i) + ".J3C", "/home/loja/cupons/",
                             "08/12/2025 14:30:00 Protocolo " + Protocol(i) + " - Arquivo recebido com sucesso"});
        LayOutSendingSummary(rel, table, "08/12/2025, segunda-feira");
    }
    ~Summary() {
        if (rel.IsOpen()) rel.Abortar();
    }
};

} // namespace

TEST(PdfReport, TwoPageSummaryShowsItsHeaderAndEveryProtocol) {
    Summary s(50);
    ASSERT_EQ(s.rel.TotalPaginas(), 2);
    TempDir dir;
    ASSERT_TRUE(SaveReport(s.rel, dir.File("resumo"), SaveFileType::Pdf));
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.shown.front();
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"resumo.PDF"});

    const std::string file = dir.File("resumo.PDF");
    ASSERT_TRUE(ReadAll(file).starts_with("%PDF"));
    EXPECT_EQ(PdfPageCount(ReadAll(file)), 2u);
    const std::string text = PdfText(file);
    EXPECT_NE(text.find("Resumo do Envio das Notas Fiscais Paulista, emissão: 08/12/2025, segunda-feira"),
              std::string::npos)
        << text;
    const std::regex pageNumber("Pag: +([0-9]+)");
    std::vector<std::string> numbers;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pageNumber); it != std::sregex_iterator(); ++it)
        numbers.push_back((*it)[1]);
    EXPECT_EQ(numbers, (std::vector<std::string>{"1", "2"}));
    for (int i = 1; i <= 50; ++i) EXPECT_NE(text.find("Protocolo " + Protocol(i)), std::string::npos) << i;
    // One PDF page per report page: the second page's text after the page break.
    const std::size_t pageBreak = text.find('\f');
    ASSERT_NE(pageBreak, std::string::npos);
    EXPECT_LT(text.find("Protocolo " + Protocol(1)), pageBreak);
    EXPECT_GT(text.find("Protocolo " + Protocol(50)), pageBreak);
}

TEST(PdfReport, AnEarlierFileIsReplacedWholeOrLeftAsItWas) {
    TempDir dir;
    const std::string file = dir.File("resumo.pdf");
    { std::ofstream(file) << "anterior"; }

    // Cancelled after the first page: the earlier file stays, nothing is left beside it.
    Summary cancelled(50);
    int pages = 0;
    cancelled.rel.services.processEvents = [&] {
        if (++pages == 1) cancelled.rel.Cancelar();
    };
    int cancels = 0;
    cancelled.rel.OnCancel = [&](TRelGrade&) { ++cancels; };
    EXPECT_FALSE(SaveReport(cancelled.rel, file, SaveFileType::Pdf));
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(ReadAll(file), "anterior");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"resumo.pdf"});

    // A name that already ends in .pdf is kept; the file is replaced whole.
    Summary whole(3);
    ASSERT_TRUE(SaveReport(whole.rel, file, SaveFileType::Pdf));
    EXPECT_TRUE(ReadAll(file).starts_with("%PDF"));
    EXPECT_NE(PdfText(file).find("Protocolo " + Protocol(3)), std::string::npos);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"resumo.pdf"});
}

TEST(PdfReport, AFolderThatIsNotThereIsSaidAndNothingIsWritten) {
    Summary s(1);
    TempDir dir;
    const std::string file = dir.File("falta/resumo.PDF");
    EXPECT_FALSE(SaveReport(s.rel, file, SaveFileType::Pdf));
    ASSERT_EQ(s.messages.shown.size(), 1u);
    EXPECT_EQ(s.messages.shown[0], kMsgErroAbertura + file);
    EXPECT_TRUE(FilesIn(dir.path()).empty());
}

TEST(PdfReport, WithoutAPdfServiceNothingIsSaved) {
    Summary s(1);
    s.rel.services.pdf = nullptr;
    TempDir dir;
    EXPECT_FALSE(SaveReport(s.rel, dir.File("resumo.PDF"), SaveFileType::Pdf));
    EXPECT_TRUE(FilesIn(dir.path()).empty());
}

// Only a QGuiApplication: nothing here may need Qt Widgets.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
