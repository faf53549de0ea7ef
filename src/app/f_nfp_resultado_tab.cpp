// The Resultado tab: the results grid and the service's reply of the chosen
// row.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/data_grid.h"
#include "app/main_window_send_view.h"
#include "app/table_model.h"
#include "sending/http_service_poster.h"
#include "app/f_historico.h"
#include "journal/journal_recorder.h"
#include "profiles/profile_list.h"
#include "sending/query.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace nfp {

void TF_NFP::BuildResultadoTab()
{
    QWidget* t = TabSheet_Resultado;
    DBGrid1 = Placed(new DataGrid(t), "DBGrid1", {7, 7, 183, 316});
    enviadosModel_ = std::make_unique<TableModel>(CDS_Enviados, std::vector<ModelColumn>{{"Arquivo", QStringLiteral("Arquivo(s)")},
                                                {"Protocolo", QStringLiteral("Protocolo")}},
                                 nullptr);
    DS_Enviados = enviadosModel_.get();
    DS_Enviados->setObjectName(QStringLiteral("DS_Enviados"));
    BindGridToModel(DBGrid1, DS_Enviados);
    DBGrid1->setColumnWidths({90, 60});

    DBMemo_Resultado = Placed(new QPlainTextEdit(t), "DBMemo_Resultado", {196, 42, 407, 281});
    DBMemo_Resultado->setReadOnly(true);
    DBMemo_Resultado->setFocusPolicy(Qt::ClickFocus);
    DBMemo_Resultado->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    BitBtn_Reconsultar = MakeBitBtn(t, "BitBtn_Reconsultar", QStringLiteral("Re-Consultar"),
                                    style()->standardIcon(QStyle::SP_BrowserReload), {196, 5, 106, 28});
    BitBtn_Historico = MakeBitBtn(t, "BitBtn_Historico", QStringLiteral("Histórico..."),
                                  style()->standardIcon(QStyle::SP_FileDialogInfoView), {310, 5, 100, 28});
    BitBtn_Imprimir = MakeBitBtn(t, "BitBtn_Imprimir", QStringLiteral("Imprimir"),
                                 style()->standardIcon(QStyle::SP_FileDialogDetailedView), {518, 5, 85, 28});

    connect(BitBtn_Reconsultar, &QPushButton::clicked, this,
            [this] { Guarded([this] { BitBtn_ReconsultarClick(); }); });
    connect(BitBtn_Historico, &QPushButton::clicked, this,
            [this] { Guarded([this] { BitBtn_HistoricoClick(); }); });
    connect(BitBtn_Imprimir, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_ImprimirClick(); }); });

    // The memo shows the current result row's reply.
    connect(DS_Enviados, &TableModel::currentRowChanged, this, [this](int) {
        const QString text = QString::fromStdString(CDS_Enviados.FieldText("Resultado"));
        if (DBMemo_Resultado->toPlainText() != text)
            DBMemo_Resultado->setPlainText(text);
    });
}

} // namespace nfp

namespace nfp {

void TF_NFP::BitBtn_ReconsultarClick()
{
    if (IsBusy())
        return;
    const BusyScope busy(*this);
    // Each row speaks for the taxpayer it was sent for; a row whose profile
    // is gone uses the login panel, as before.
    Reconsultar(CDS_Enviados, *sendView_, *poster_, *journal_, [this](const std::string& cnpj) {
        return ProfileCredentials(CDS_Registros, cnpj).value_or(LoginCredentials());
    });
}

void TF_NFP::BitBtn_HistoricoClick()
{
    TF_Historico history(setup_.journalFile, setup_.regional, *RelGrade, [this] { return setup_.clock().date; }, this);
    if (history.OpenJournal())
        history.exec();
}


} // namespace nfp
