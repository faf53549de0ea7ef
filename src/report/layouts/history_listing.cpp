#include "report/layouts/history_listing.h"

#include "report/layouts/char_slice.h"
#include "util/silent_abort.h"

namespace nfp {

namespace {

constexpr int kFirstRowLine = 7;
constexpr int kLastRowLine = 86;
constexpr int kResultColumn = 21;
constexpr std::size_t kSliceWidth = 76; // columns 21 to 96

class ListingPages {
public:
    ListingPages(TRelGrade& rel, std::string issueDate, std::string filterText)
        : rel_(rel), issueDate_(std::move(issueDate)), filterText_(std::move(filterText))
    {
    }

    // The line for the next row of text, on a new page when this one is full.
    int NextLine()
    {
        if (line_ > kLastRowLine)
            StartPage();
        return line_++;
    }
    int Line() const { return line_; }

private:
    void StartPage()
    {
        const std::string dashes(95, '-');
        if (page_ > 1)
            rel_.NovaPagina();
        rel_.Imp(1, 1, dashes);
        rel_.Imp(2, 1, std::string(kHistoryTitle) + ", emissão: " + issueDate_);
        rel_.Imp(2, 88, "Pag:");
        rel_.ImpNum(2, 93, "##0", page_, 0, clBlack);
        rel_.Imp(3, 1, "Filtro: " + filterText_);
        rel_.Imp(4, 1, "Data/Hora");
        rel_.Imp(4, 21, "C.N.P.J.");
        rel_.Imp(4, 36, "Operação");
        rel_.Imp(4, 46, "Arquivo");
        rel_.Imp(4, 59, "Protocolo");
        rel_.Imp(4, 69, "Situação");
        rel_.Imp(5, kResultColumn, "Resultado:");
        rel_.Imp(6, 1, dashes);
        ++page_;
        line_ = kFirstRowLine;
    }

    TRelGrade& rel_;
    std::string issueDate_;
    std::string filterText_;
    int page_ = 1;
    int line_ = kLastRowLine + 1; // the first row starts a page
};

} // namespace

void LayOutHistoryListing(TRelGrade& rel, const std::vector<HistoryLine>& lines, const std::string& issueDate,
                          const std::string& filterText)
{
    if (lines.empty())
        throw SilentAbort();
    rel.Abrir();
    ListingPages pages(rel, issueDate, filterText);
    for (const HistoryLine& row : lines) {
        const int line = pages.NextLine();
        rel.Imp(line, 1, row.dataHora);
        rel.Imp(line, 21, row.cnpj);
        rel.Imp(line, 36, row.operacao);
        rel.Imp(line, 46, row.arquivo);
        rel.Imp(line, 59, row.protocolo);
        rel.Imp(line, 69, row.situacao);
        // Line breaks of the text would break the grid: they print as blanks.
        std::string text = row.resultado;
        for (char& c : text)
            if (c == '\r' || c == '\n' || c == '\t')
                c = ' ';
        for (const std::string& slice : WrappedLines(text, kSliceWidth))
            if (!IsBlankText(slice))
                rel.Imp(pages.NextLine(), kResultColumn, slice);
    }
    rel.Imp(pages.Line(), 1, std::string(95, '-'));
}

} // namespace nfp
