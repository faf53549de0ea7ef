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

// A progress bar paints itself at once on every step it shows, so that it
// moves while a large file is posted and no events are processed. Steps
// closer together than a frame (a small file's steps come microseconds
// apart) are painted together, with the next events processed.
void MainWindowSendView::SetProgress(long long maximum, long long position)
{
    constexpr long long top = std::numeric_limits<int>::max();
    constexpr qint64 frameMs = 40;
    QProgressBar* const bar = window_.ProgressBar;
    const bool paintNow = !sinceBarPainted_.isValid() || sinceBarPainted_.elapsed() >= frameMs;
    if (!paintNow)
        bar->setUpdatesEnabled(false);
    bar->setMaximum(static_cast<int>(std::min(maximum, top)));
    bar->setValue(static_cast<int>(std::min(position, top)));
    if (paintNow)
        sinceBarPainted_.start();
    else
        bar->setUpdatesEnabled(true); // asks for one paint
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
