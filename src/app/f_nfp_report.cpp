// The main window's report component and the Imprimir button, which lays
// the results table out as the sending summary and previews it.
#include "app/f_nfp.h"

#include "app/local_message_dlg.h"
#include "report/engine/rel_grade.h"
#include "report/windows/report_platform.h"
#include "report/layouts/sending_summary.h"

namespace nfp {

struct ReportParts {
    // The report windows' plain message boxes in the program's own message
    // dialog: titled with the application title, no icon, Portuguese
    // buttons, and the texts' line breaks kept.
    CallbackReportMessages messages{
        [](const std::string& text) { LocalMessageDlg(text, MessageKind::Custom, MsgButton::OK, MsgResult::Ok); },
        [](const std::string& question) {
            return LocalMessageDlg(question, MessageKind::Confirmation, MsgButton::YesNo, MsgResult::Yes) ==
                   MsgResult::Yes;
        }};
    ReportPlatform platform{messages};
    // Declared last: it goes before the platform it prints through.
    TRelGrade relGrade;
};

void ReportPartsDeleter::operator()(ReportParts* parts) const
{
    delete parts;
}

void TF_NFP::CreateReportParts()
{
    report_.reset(new ReportParts);
    report_->platform.Attach(report_->relGrade);
    ConfigureSendingSummaryEngine(report_->relGrade);
    RelGrade = &report_->relGrade;
}

void TF_NFP::BitBtn_ImprimirClick()
{
    PrintSendingSummary(*RelGrade, CDS_Enviados, setup_.clock().date, setup_.regional);
}

} // namespace nfp
