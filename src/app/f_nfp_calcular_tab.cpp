// The Calcular tab: a date and its three-character file-extension code,
// each converted into the other when the focus leaves it.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/date_edit.h"
#include "app/exit_line_edit.h"
#include "app/local_message_dlg.h"
#include "util/date_code.h"

#include <QLabel>

namespace nfp {

void TF_NFP::BuildCalcularTab()
{
    QWidget* t = TabSheet_Calcular;
    Label_Data = MakeLabel(t, "Label_Data", QStringLiteral("Data:"), {7, 2, 26, 13});
    DateEdit = Placed(new nfp::DateEdit(Setup().regional, [this] { return Setup().clock().date; }, t), "DateEdit",
                      {7, 14, 106, 22});
    DateEdit->setFont(PixelFont("Verdana", 13));
    DateEdit->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: black; }"));
    Label_Extensao = MakeLabel(t, "Label_Extensao", QStringLiteral("Extensão:"), {7, 37, 47, 13});
    Edit_Sigla = Placed(new ExitLineEdit(t), "Edit_Sigla", {7, 49, 43, 22});
    Edit_Sigla->setFont(PixelFont("Verdana", 13));
    Edit_Sigla->setMaxLength(3);
    Edit_Sigla->setUpperCase(true);
}

void TF_NFP::DateEditExit()
{
    Edit_Sigla->setText(QString::fromStdString(DateToCode(DateEdit->date())));
}

void TF_NFP::Edit_SiglaExit()
{
    // A code of fewer than three characters is no date either.
    const auto date = CodeToDate(Edit_Sigla->text().toStdString(), Setup().regional,
                                 static_cast<int>(Setup().clock().date.year()));
    if (!date) {
        LocalMessageDlg("Extensão / Data Inválida...", MessageKind::Error, MsgButton::OK, MsgResult::Ok, 0);
        return;
    }
    DateEdit->setDate(*date);
}

} // namespace nfp
