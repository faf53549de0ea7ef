// The Enviar tab: month field, file buttons, the send queue and the progress
// of a send run.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/data_grid.h"
#include "app/table_model.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

namespace nfp {

namespace {

QComboBox* MakeChoice(QWidget* parent, const char* name, const QStringList& items, QRect bounds)
{
    auto* box = Placed(new QComboBox(parent), name, bounds);
    box->addItems(items);
    box->setCurrentIndex(0);
    box->setEditable(false);
    box->setFont(PixelFont("MS Sans Serif", 13));
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

} // namespace

void TF_NFP::BuildEnviarTab()
{
    QWidget* t = TabSheet_Enviar;
    Label_Periodo = MakeLabel(t, "Label_Periodo", QStringLiteral("Mês/Ano:"), {7, 2, 47, 13});
    MaskEdit_Data = Placed(new QLineEdit(t), "MaskEdit_Data", {7, 14, 64, 22});
    MaskEdit_Data->setFont(PixelFont("Verdana", 13));
    QString sep = QString::fromStdString(Setup().regional.dateSeparator).left(1);
    if (sep.isEmpty())
        sep = QStringLiteral("/");
    // Two required digits, the separator, four required digits.
    MaskEdit_Data->setInputMask(QStringLiteral("99") + sep + QStringLiteral("9999;_"));
    BitBtn_Arquivos = MakeBitBtn(t, "BitBtn_Arquivos", QStringLiteral("Ler Arquivos"),
                                 style()->standardIcon(QStyle::SP_FileIcon), {77, 8, 99, 28});
    BitBtn_Pasta = MakeBitBtn(t, "BitBtn_Pasta", QStringLiteral("Ler Diretório"),
                              style()->standardIcon(QStyle::SP_DirOpenIcon), {182, 8, 99, 28});
    Label_Processamento =
        MakeLabel(t, "Label_Processamento", QStringLiteral("Tipo de Processamento:"), {294, 2, 115, 13});
    ComboBox_Envio = MakeChoice(t, "ComboBox_Envio",
                                {QStringLiteral("Simples Validação"), QStringLiteral("Processamento")},
                                {294, 14, 141, 22});
    Label_Retificacao = MakeLabel(t, "Label_Retificacao", QStringLiteral("Retificação:"), {448, 2, 57, 13});
    ComboBox_Retificacao =
        MakeChoice(t, "ComboBox_Retificacao", {QStringLiteral("Não"), QStringLiteral("Sim")}, {448, 14, 57, 22});
    BitBtn_Enviar = MakeBitBtn(t, "BitBtn_Enviar", QStringLiteral("Enviar"),
                               style()->standardIcon(QStyle::SP_ArrowRight), {518, 9, 85, 28});

    DBGrid_Enviar = Placed(new DataGrid(t), "DBGrid_Enviar", {7, 42, 596, 260});
    DS_Enviar = new TableModel(CDS_Enviar, {{"Arquivo", QStringLiteral("Arquivo(s)")},
                                            {"Caminho", QStringLiteral("Caminho")}},
                               nullptr);
    DS_Enviar->setObjectName(QStringLiteral("DS_Enviar"));
    BindGridToModel(DBGrid_Enviar, DS_Enviar);
    DBGrid_Enviar->setColumnWidths({90, 470});

    Label_Status = MakeLabel(t, "Label_Status", QStringLiteral("Analisando..."), {7, 315, 77, 16});
    Label_Status->setFont(PixelFont("MS Sans Serif", 13));
    FitLabel(Label_Status);
    ProgressBar = Placed(new QProgressBar(t), "ProgressBar", {91, 308, 512, 22});
    ProgressBar->setTextVisible(false);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
}

} // namespace nfp
