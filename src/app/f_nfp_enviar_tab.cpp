// The Enviar tab: month field, file buttons, the send queue and the progress
// of a send run.
#include "app/f_nfp.h"

#include "app/control_factory.h"
#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "app/open_file_dialog.h"
#include "app/table_model.h"
#include "sending/folder_search.h"
#include "sending/send_queue.h"
#include "util/date_code.h"
#include "util/silent_abort.h"
#include "widgets/zeltra_browser.h"

#include <QComboBox>
#include <QFileInfo>
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
    enviarModel_ = std::make_unique<TableModel>(CDS_Enviar, std::vector<ModelColumn>{{"Arquivo", QStringLiteral("Arquivo(s)")},
                                            {"Caminho", QStringLiteral("Caminho")}},
                               nullptr);
    DS_Enviar = enviarModel_.get();
    DS_Enviar->setObjectName(QStringLiteral("DS_Enviar"));
    BindGridToModel(DBGrid_Enviar, DS_Enviar);
    DBGrid_Enviar->setColumnWidths({90, 470});
    DBGrid_Enviar->setKeyHandler(
        [this](int key, Qt::KeyboardModifiers modifiers) { return DBGrid_EnviarKeyDown(key, modifiers); });
    connect(BitBtn_Arquivos, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_ArquivosClick(); }); });
    connect(BitBtn_Pasta, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_PastaClick(); }); });
    connect(BitBtn_Enviar, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_EnviarClick(); }); });

    Label_Status = MakeLabel(t, "Label_Status", QStringLiteral("Analisando..."), {7, 315, 77, 16});
    Label_Status->setFont(PixelFont("MS Sans Serif", 13));
    FitLabel(Label_Status);
    ProgressBar = Placed(new QProgressBar(t), "ProgressBar", {91, 308, 512, 22});
    ProgressBar->setTextVisible(false);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
}

} // namespace nfp

namespace nfp {

void TF_NFP::BitBtn_ArquivosClick()
{
    if (IsBusy())
        return;
    OpenFileRequest request;
    request.title = QStringLiteral("Selecionar o(s) arquivo(s) a ser(em) transmitido(s)...");
    request.filterDescription = QStringLiteral("Arquivos Nota Fiscal Paulista...");
    request.pattern = QString::fromStdString(MonthPattern(MaskedFieldText(MaskEdit_Data).toStdString()));
    const auto files = ExecuteOpenFileDialog(this, request);
    if (!files)
        throw SilentAbort();
    for (const QString& file : *files) {
        const QFileInfo info(file);
        AppendQueueRow(CDS_Enviar, info.fileName().toStdString(),
                       FolderWithSeparator(info.absolutePath().toStdString()));
    }
    CDS_Enviar.First();
}

void TF_NFP::BitBtn_PastaClick()
{
    if (IsBusy())
        return;
    if (!ZeltraBrowser->Execute()) {
        LocalMessageDlg("Nenhuma Pasta Selecionada...", MessageKind::Warning, MsgButton::OK, MsgResult::Ok, 0);
        throw SilentAbort();
    }
    const std::string folder = FolderWithSeparator(ZeltraBrowser->Directory.toStdString());
    const std::string pattern = MonthPattern(MaskedFieldText(MaskEdit_Data).toStdString());
    for (const std::string& name : FindFolderEntries(folder, pattern))
        AppendQueueRow(CDS_Enviar, name, folder);
    CDS_Enviar.First();
}

bool TF_NFP::DBGrid_EnviarKeyDown(int key, Qt::KeyboardModifiers)
{
    // Delete removes the current queued file at once, whatever modifiers
    // are held; not while a run works through the queue.
    if (key != Qt::Key_Delete)
        return false;
    if (!IsBusy())
        CDS_Enviar.Delete();
    return true;
}

} // namespace nfp
