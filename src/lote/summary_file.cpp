#include "lote/summary_file.h"

#include "report/graphics/qt_pdf_output.h"
#include "report/engine/rel_grade.h"
#include "report/files/report_file_saver.h"
#include "report/engine/report_messages.h"

namespace nfp {

namespace {

// The engine's message boxes as lines: nobody is there to answer.
class LineMessages final : public ReportMessages {
public:
    explicit LineMessages(const std::function<void(const std::string&)>& tell) : tell_(tell) {}
    void ShowMessage(const std::string& text) override
    {
        std::string line;
        for (const char c : text) {
            if (c == '\r' || c == '\n') {
                if (!line.empty() && line.back() != ' ')
                    line += ' ';
            } else {
                line += c;
            }
        }
        if (tell_)
            tell_(line);
    }
    bool Confirm(const std::string&) override { return false; }

private:
    std::function<void(const std::string&)> tell_;
};

} // namespace

bool WriteSummaryFile(const std::vector<SummaryRow>& rows, const std::string& issueDate, const SummaryTarget& target,
                      const std::function<void(const std::string&)>& tell)
{
    LineMessages messages(tell);
    QtPdfOutput pdf;
    TRelGrade rel;
    ConfigureSendingSummaryEngine(rel);
    rel.services.messages = &messages;
    rel.services.pdf = &pdf;
    LayOutSendingSummary(rel, rows, issueDate);
    const bool written = target.kind == SummaryTarget::Kind::Pdf ? SaveAsPdf(rel, target.path)
                                                                 : SaveAsPlainText(rel, target.path);
    rel.Abortar();
    return written;
}

} // namespace nfp
