// The Consultar tab: one protocol number queried at a time, answers logged.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/main_window_send_view.h"
#include "sending/http_service_poster.h"
#include "journal/journal_recorder.h"
#include "sending/query.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace nfp {

void TF_NFP::BuildConsultarTab()
{
    QWidget* t = TabSheet_Consultar;
    Label_Protocolo = MakeLabel(t, "Label_Protocolo", QStringLiteral("Protocolo:"), {7, 2, 48, 13});
    Label_Resposta = MakeLabel(t, "Label_Resposta", QStringLiteral("Resposta:"), {112, 2, 48, 13});
    Edit_Protocolo = Placed(new QLineEdit(t), "Edit_Protocolo", {7, 14, 92, 22});
    Edit_Protocolo->setMaxLength(9);
    Edit_Protocolo->setFont(PixelFont("Verdana", 13));
    Memo = Placed(new QPlainTextEdit(t), "Memo", {112, 14, 491, 309});
    Memo->setFont(PixelFont("MS Sans Serif", 11));
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo->setTabChangesFocus(true);
    BitBtn_Consultar = MakeBitBtn(t, "BitBtn_Consultar", QStringLiteral("Consultar"),
                                  style()->standardIcon(QStyle::SP_FileDialogContentsView), {7, 47, 92, 28});
    connect(BitBtn_Consultar, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_ConsultarClick(); }); });
}

void TF_NFP::BitBtn_ConsultarClick()
{
    if (IsBusy())
        return;
    QString result = QString::fromStdString(
        QueryProtocol(LoginCredentials(), *poster_, *journal_, Edit_Protocolo->text().toStdString()));
    // Line breaks of any kind start new lines of the log.
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Memo->appendPlainText(result);
    Memo->appendPlainText(QString::fromUtf8(kQueryLogSeparator.data(), kQueryLogSeparator.size()));
}

} // namespace nfp
