// The printed send history on the report grid.
#include <gtest/gtest.h>

#include "report/layouts/char_slice.h"
#include "report/layouts/history_listing.h"
#include "report/layouts/sending_summary.h"
#include "report_test_support.h"
#include "util/silent_abort.h"

using namespace nfp;
using namespace nfp::test;

namespace {

using Placed = PlacedText;

std::vector<Placed> LayOut(const std::vector<HistoryLine>& lines, int* pages = nullptr)
{
    TRelGrade rel;
    ConfigureSendingSummaryEngine(rel);
    RecordingMessages messages;
    rel.services.messages = &messages;
    int newPages = 0;
    rel.OnNewPage = [&newPages](TRelGrade&, int) { ++newPages; };
    LayOutHistoryListing(rel, lines, "10/12/2026, quinta-feira", "C.N.P.J. Todos, Mês Todos, Ano 2026, Situação Todas");
    const std::vector<Placed> placed = PlacedTexts(rel);
    rel.Abortar();
    if (pages)
        *pages = newPages;
    EXPECT_TRUE(messages.shown.empty());
    return placed;
}

std::vector<Placed> Lines(const std::vector<Placed>& placed, int page, int fromLine)
{
    std::vector<Placed> out;
    for (const auto& p : placed)
        if (p.page == page && p.line >= fromLine)
            out.push_back(p);
    return out;
}

const std::string Dashes(95, '-');

HistoryLine Line(const std::string& arquivo, const std::string& resultado)
{
    return {"10/12/2026 15:40:11", "11222333000181", "Enviar", arquivo, "100000001", "aceito", resultado};
}

} // namespace

TEST(HistoryListing, HeaderWithTheFilterAndTheColumns)
{
    const auto placed = LayOut({Line("A.C39", "ok")});
    const std::vector<Placed> header = {
        {1, 1, 1, Dashes},
        {1, 2, 1, "Histórico de Envios das Notas Fiscais Paulista, emissão: 10/12/2026, quinta-feira"},
        {1, 2, 88, "Pag:"},
        {1, 2, 93, "  1"},
        {1, 3, 1, "Filtro: C.N.P.J. Todos, Mês Todos, Ano 2026, Situação Todas"},
        {1, 4, 1, "Data/Hora"},
        {1, 4, 21, "C.N.P.J."},
        {1, 4, 36, "Operação"},
        {1, 4, 46, "Arquivo"},
        {1, 4, 59, "Protocolo"},
        {1, 4, 69, "Situação"},
        {1, 5, 21, "Resultado:"},
        {1, 6, 1, Dashes},
    };
    EXPECT_EQ(std::vector<Placed>(placed.begin(), placed.begin() + 13), header);
}

TEST(HistoryListing, RowsWithTheirWholeResult)
{
    struct Case {
        const char* name;
        std::vector<HistoryLine> lines;
        std::vector<Placed> body;
    };
    const std::vector<Placed> rowA = {{1, 7, 1, "10/12/2026 15:40:11"}, {1, 7, 21, "11222333000181"},
                                      {1, 7, 36, "Enviar"},              {1, 7, 46, "A.C39"},
                                      {1, 7, 59, "100000001"},           {1, 7, 69, "aceito"}};
    auto with = [&rowA](std::vector<Placed> rest) {
        std::vector<Placed> all = rowA;
        all.insert(all.end(), rest.begin(), rest.end());
        return all;
    };
    const Case cases[] = {
        {"a short result", {Line("A.C39", "Arquivo recebido")}, with({{1, 8, 21, "Arquivo recebido"}, {1, 9, 1, Dashes}})},
        {"a result beyond 480 characters is printed whole",
         {Line("A.C39", std::string(600, 'x'))},
         with({{1, 8, 21, std::string(76, 'x')},
               {1, 9, 21, std::string(76, 'x')},
               {1, 10, 21, std::string(76, 'x')},
               {1, 11, 21, std::string(76, 'x')},
               {1, 12, 21, std::string(76, 'x')},
               {1, 13, 21, std::string(76, 'x')},
               {1, 14, 21, std::string(76, 'x')},
               {1, 15, 21, std::string(68, 'x')},
               {1, 16, 1, Dashes}})},
        {"a long result is broken between words",
         {Line("A.C39", std::string(70, 'a') + " palavra " + std::string(10, 'b'))},
         with({{1, 8, 21, std::string(70, 'a')}, {1, 9, 21, "palavra " + std::string(10, 'b')}, {1, 10, 1, Dashes}})},
        {"line breaks print as blanks", {Line("A.C39", "um\r\ndois")}, with({{1, 8, 21, "um  dois"}, {1, 9, 1, Dashes}})},
        {"an empty result takes no line", {Line("A.C39", "")}, with({{1, 8, 1, Dashes}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Lines(LayOut(c.lines), 1, 7), c.body);
    }
}

TEST(HistoryListing, ABlockThatReachesTheFootGoesOnOnTheNextPage)
{
    // 79 one-line rows fill lines 7 to 85; the next row starts on line 86
    // and its result goes on on page 2, under the header.
    std::vector<HistoryLine> lines(79, Line("A.C39", ""));
    lines.push_back(Line("B.C39", "resultado"));
    int pages = 0;
    const auto placed = LayOut(lines, &pages);
    EXPECT_EQ(pages, 2);
    const auto last = Lines(placed, 1, 86);
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last.front(), (Placed{1, 86, 1, "10/12/2026 15:40:11"}));
    EXPECT_EQ(Lines(placed, 2, 7), (std::vector<Placed>{{2, 7, 21, "resultado"}, {2, 8, 1, Dashes}}));
    EXPECT_EQ(Lines(placed, 2, 2).front(), (Placed{2, 2, 1, "Histórico de Envios das Notas Fiscais Paulista, emissão: 10/12/2026, quinta-feira"}));
}

TEST(HistoryListing, WrappedLinesCountCharactersAndBreakAfterTheLastBlankThatFits)
{
    struct Case {
        std::string text;
        std::size_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", 5, {}},
        {"abc", 5, {"abc"}},
        {"abcde", 5, {"abcde"}},
        {"ab cd ef", 5, {"ab cd", "ef"}},
        {"abcdefgh", 5, {"abcde", "fgh"}},
        {"ação é já", 6, {"ação é", "já"}},
        {"abcde fgh", 5, {"abcde", "fgh"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrappedLines(c.text, c.width), c.lines) << c.text;
}

TEST(HistoryListing, NothingToListEndsSilently)
{
    TRelGrade rel;
    ConfigureSendingSummaryEngine(rel);
    EXPECT_THROW(LayOutHistoryListing(rel, {}, "10/12/2026", ""), SilentAbort);
    EXPECT_FALSE(rel.IsOpen());
}
