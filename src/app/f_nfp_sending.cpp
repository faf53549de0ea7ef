// Sending from the main window: the Enviar button, the send run over the
// queue, the batch over the profiles, and the guard that keeps one
// operation's tables and profile still while it runs.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "app/main_window_send_view.h"
#include "journal/journal_recorder.h"
#include "app/radio_group.h"
#include "sending/batch.h"
#include "sending/folder_search.h"
#include "sending/http_service_poster.h"
#include "sending/send_run.h"
#include "util/silent_abort.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace nfp {

TF_NFP::BusyScope::BusyScope(TF_NFP& window)
    : window_(window)
{
    if (window_.busyDepth_++ == 0) {
        window_.batchRan_ = false;
        window_.SetBusyControls(true);
    }
}

TF_NFP::BusyScope::~BusyScope()
{
    if (--window_.busyDepth_ == 0) {
        window_.SetBusyControls(false);
        window_.AfterBusy();
    }
}

void TF_NFP::SetBusyControls(bool busy)
{
    const std::initializer_list<QWidget*> controls{BitBtn_Arquivos, BitBtn_Pasta,     BitBtn_Enviar,
                                                   BitBtn_Reconsultar, BitBtn_Historico, BitBtn_Consultar, BitBtn_Registro,
                                                   DBGrid_Enviar,   DBGrid1,          DBGrid_Registros};
    // Turning a focused control off hands the focus down the tab chain, as
    // far as Sair: a Space or Enter after the question would then close the
    // program. The focus goes back where it was.
    if (busy) {
        QWidget* focused = focusWidget();
        focusBeforeBusy_ = std::find(controls.begin(), controls.end(), focused) != controls.end() ? focused : nullptr;
    }
    for (QWidget* control : controls)
        control->setEnabled(!busy);
    if (busy || !focusBeforeBusy_)
        return;
    QWidget* target = focusBeforeBusy_;
    focusBeforeBusy_ = nullptr;
    // The control may sit on a page that has gone to the back meanwhile.
    if (!target->isVisibleTo(this))
        target = PageControl;
    target->setFocus(Qt::OtherFocusReason);
}

void TF_NFP::AfterBusy()
{
    // Runs from a destructor, maybe while an error unwinds: only posts.
    if (closePending_) {
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    if (journalWarning_)
        QTimer::singleShot(0, this, [this] { ShowJournalWarning(); });
    if (!pendingSchedule_)
        return;
    // The batch the schedule waited for sent what the schedule would have.
    if (batchRan_)
        scheduleServed_ = true;
    QTimer::singleShot(0, this, [this] { Guarded([this] { StartPendingSchedule(); }); });
}

void TF_NFP::StartPendingSchedule()
{
    if (!pendingSchedule_ || IsBusy())
        return;
    const LocalMoment due = *pendingSchedule_;
    const bool served = scheduleServed_;
    pendingSchedule_.reset();
    scheduleServed_ = false;
    // Only while the user still asks for that moment.
    if (!CheckBox_Agenda->isChecked() || ScheduledMoment() != due)
        return;
    if (served) {
        CheckBox_Agenda->setChecked(false);
        return;
    }
    RunScheduledSend();
}

void TF_NFP::ShowJournalWarning()
{
    if (!journalWarning_ || IsBusy())
        return;
    const std::string text = *journalWarning_;
    journalWarning_.reset();
    // A schedule falling due meanwhile waits for the OK.
    const BusyScope showing(*this);
    LocalMessageDlg(text, MessageKind::Warning, MsgButton::OK, MsgResult::Ok, 0);
}

ServiceCredentials TF_NFP::LoginCredentials() const
{
    ServiceCredentials c;
    c.Usuario = Edit_Usuario->text().toStdString();
    c.Senha = Edit_Senha->text().toStdString();
    c.CNPJ = Edit_CNPJ->text().toStdString();
    c.CategoriaUsuario = RadioGroup_Tipo->itemIndex() + 1;
    return c;
}

void TF_NFP::Enviar()
{
    nfp::Enviar(CDS_Enviar, CDS_Enviados, *sendView_, *poster_, setup_.regional, *journal_, &refusedFiles_);
}

void TF_NFP::BitBtn_EnviarClick()
{
    if (CheckBox_Agenda->isChecked()) {
        LocalMessageDlg("Agendamento está ativo...\r\rDesligue para enviar agora...", MessageKind::Information,
                        MsgButton::OK, MsgResult::Ok, 0);
        throw SilentAbort();
    }
    if (IsBusy())
        return;
    // Only "Sim" sends: closing the question abandons it like "Não".
    int answer = MsgResult::Cancel;
    {
        // A schedule falling due meanwhile waits for the answer and its send.
        const BusyScope asking(*this);
        answer = LocalMessageDlg("Confirma Envio dos Arquivos ?", MessageKind::Confirmation, MsgButton::YesNo,
                                 MsgResult::No, 0);
    }
    if (answer != MsgResult::Yes)
        throw SilentAbort();
    SendQueuedOrBatch();
}

void TF_NFP::SendQueuedOrBatch()
{
    // A file refused for its bytes is told once per send, not again for
    // each profile of a batch; a new send looks at it afresh.
    refusedFiles_.clear();
    {
        const BusyScope busy(*this);
        if (CDS_Enviar.RecordCount() > 0) {
            Enviar();
        } else {
            BatchSteps steps;
            steps.monthText = [this] { return MaskedFieldText(MaskEdit_Data).toStdString(); };
            steps.findEntries = [](std::string_view folder, std::string_view pattern) {
                return FindFolderEntries(folder, pattern);
            };
            steps.enviar = [this] { Enviar(); };
            batchRan_ = true;
            RunBatch(CDS_Registros, CDS_Enviar, steps);
        }
    }
    PageControl->setCurrentWidget(TabSheet_Resultado);
}

void TF_NFP::RunScheduledSend()
{
    // Off before anything is sent: a schedule fires once.
    CheckBox_Agenda->setChecked(false);
    SendQueuedOrBatch();
}

} // namespace nfp
