#include "app/main_window_send_view.h"

#include "app/f_nfp.h"
#include "app/local_message_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

#include <limits>

namespace nfp {

ServiceCredentials MainWindowSendView::Credentials()
{
    return window_.LoginCredentials();
}

SendChoice MainWindowSendView::Choice()
{
    SendChoice choice;
    choice.operation = window_.ComboBox_Retificacao->currentIndex() == 1 ? ServiceOperation::Retificar
                                                                         : ServiceOperation::Enviar;
    choice.envioNormal = window_.ComboBox_Envio->currentIndex() == 1;
    return choice;
}

void MainWindowSendView::SetStatus(std::string_view text)
{
    window_.Label_Status->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void MainWindowSendView::SetProgress(long long maximum, long long position)
{
    constexpr long long top = std::numeric_limits<int>::max();
    window_.ProgressBar->setMaximum(static_cast<int>(std::min(maximum, top)));
    window_.ProgressBar->setValue(static_cast<int>(std::min(position, top)));
}

void MainWindowSendView::SetBusyCursor(bool busy)
{
    if (busy)
        window_.setCursor(Qt::WaitCursor);
    else
        window_.unsetCursor();
}

void MainWindowSendView::ProcessMessages()
{
    QApplication::processEvents();
}

int MainWindowSendView::AskAfterUnexpectedReply(const std::string& question)
{
    // Once the program is told to end, a question closes at once as if by
    // its close box.
    if (window_.IsClosePending())
        return MsgResult::Cancel;
    return LocalMessageDlg(question, MessageKind::Warning, MsgButton::YesNo, MsgResult::Yes, 0);
}

void MainWindowSendView::TellFileRefused(const std::string& message)
{
    if (window_.IsClosePending())
        return;
    LocalMessageDlg(message, MessageKind::Warning, MsgButton::OK, MsgResult::Ok, 0);
}

int MainWindowSendView::CurrentYear()
{
    return static_cast<int>(window_.Setup().clock().date.year());
}

} // namespace nfp
