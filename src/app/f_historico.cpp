#include "app/f_historico.h"

#include "app/control_factory.h"
#include "app/history_model.h"
#include "app/local_message_dlg.h"
#include "journal/history_line.h"
#include "journal/journal_csv.h"
#include "journal/journal_failure.h"
#include "journal/send_journal.h"
#include "report/layouts/history_listing.h"
#include "report/engine/rel_grade.h"
#include "report/layouts/sending_summary.h"
#include "util/silent_abort.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

namespace nfp {

namespace {

constexpr int kWidth = 860;
constexpr int kHeight = 520;

QString Text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<QString> AskExportFile(QWidget* parent)
{
    const QString chosen = QFileDialog::getSaveFileName(
        parent, QStringLiteral("Exportar Histórico"), QDir::home().filePath(QStringLiteral("historico-envios.csv")),
        QStringLiteral("Planilha CSV (*.csv)"));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

// The report component speaks of the history while it prints it.
class ListingTitles {
public:
    explicit ListingTitles(TRelGrade& rel)
        : rel_(rel), titulo_(rel.TitulodoRelatorio), caption_(rel.OpcoesPreview.CaptionPreview)
    {
        rel_.TitulodoRelatorio = kHistoryTitle;
        rel_.OpcoesPreview.CaptionPreview = kHistoryTitle;
    }
    ~ListingTitles()
    {
        rel_.TitulodoRelatorio = titulo_;
        rel_.OpcoesPreview.CaptionPreview = caption_;
    }
    ListingTitles(const ListingTitles&) = delete;
    ListingTitles& operator=(const ListingTitles&) = delete;

private:
    TRelGrade& rel_;
    std::string titulo_;
    std::string caption_;
};

} // namespace

TF_Historico::TF_Historico(std::filesystem::path journalFile, RegionalSettings regional, TRelGrade& relGrade,
                           Today today, QWidget* parent, ExportFileChooser chooseExportFile)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      journalFile_(std::move(journalFile)),
      regional_(std::move(regional)),
      relGrade_(relGrade),
      today_(std::move(today)),
      chooseExportFile_(chooseExportFile ? std::move(chooseExportFile) : ExportFileChooser(AskExportFile))
{
    setObjectName(QStringLiteral("F_Historico"));
    setWindowTitle(QStringLiteral("Histórico de Envios"));
    setFont(PixelFont("MS Sans Serif", 11));
    setFixedSize(kWidth, kHeight);

    Label_CNPJ = MakeLabel(this, "Label_CNPJ", QStringLiteral("C.N.P.J.:"), {8, 13, 44, 13});
    ComboBox_CNPJ = Placed(new QComboBox(this), "ComboBox_CNPJ", {56, 8, 130, 22});
    Label_Mes = MakeLabel(this, "Label_Mes", QStringLiteral("Mês:"), {198, 13, 24, 13});
    ComboBox_Mes = Placed(new QComboBox(this), "ComboBox_Mes", {226, 8, 112, 22});
    Label_Ano = MakeLabel(this, "Label_Ano", QStringLiteral("Ano:"), {350, 13, 24, 13});
    ComboBox_Ano = Placed(new QComboBox(this), "ComboBox_Ano", {378, 8, 70, 22});
    Label_Situacao = MakeLabel(this, "Label_Situacao", QStringLiteral("Situação:"), {460, 13, 48, 13});
    ComboBox_Situacao = Placed(new QComboBox(this), "ComboBox_Situacao", {512, 8, 90, 22});
    Label_Contagem = MakeLabel(this, "Label_Contagem", QString(), {620, 13, 232, 13});

    ComboBox_Mes->addItem(QStringLiteral("Todos"));
    for (int m = 1; m <= 12; ++m)
        ComboBox_Mes->addItem(QStringLiteral("%1 - %2")
                                  .arg(m, 2, 10, QLatin1Char('0'))
                                  .arg(Text(regional_.longMonthNames[static_cast<std::size_t>(m - 1)])),
                              m);
    ComboBox_Situacao->addItem(QStringLiteral("Todas"));
    for (const char* s : {kSituacaoAceito, kSituacaoRecusado, kSituacaoFalha})
        ComboBox_Situacao->addItem(QString::fromLatin1(s), QString::fromLatin1(s));

    model_ = new HistoryModel(regional_, this);
    DBGrid_Historico = Placed(new QTableView(this), "DBGrid_Historico", {8, 38, 844, 300});
    DBGrid_Historico->setModel(model_);
    DBGrid_Historico->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid_Historico->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid_Historico->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid_Historico->setWordWrap(false);
    // Fixed row heights and column widths: nothing is measured per row, so
    // a journal of any size lists at once.
    DBGrid_Historico->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid_Historico->verticalHeader()->setDefaultSectionSize(18);
    DBGrid_Historico->verticalHeader()->hide();
    DBGrid_Historico->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid_Historico->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {118, 100, 64, 90, 70, 62};
    for (int c = 0; c < static_cast<int>(std::size(widths)); ++c)
        DBGrid_Historico->setColumnWidth(c, widths[c]);

    Memo_Resultado = Placed(new QPlainTextEdit(this), "Memo_Resultado", {8, 344, 844, 128});
    Memo_Resultado->setReadOnly(true);
    Memo_Resultado->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    BitBtn_Exportar = MakeBitBtn(this, "BitBtn_Exportar", QStringLiteral("Exportar..."),
                                 style()->standardIcon(QStyle::SP_DialogSaveButton), {8, 482, 100, 28});
    BitBtn_Imprimir = MakeBitBtn(this, "BitBtn_Imprimir", QStringLiteral("Imprimir"),
                                 style()->standardIcon(QStyle::SP_FileDialogDetailedView), {116, 482, 85, 28});
    BitBtn_Fechar = MakeBitBtn(this, "BitBtn_Fechar", QStringLiteral("Fechar"),
                               style()->standardIcon(QStyle::SP_DialogCloseButton), {767, 482, 85, 28});

    connect(BitBtn_Exportar, &QPushButton::clicked, this, [this] { BitBtn_ExportarClick(); });
    connect(BitBtn_Imprimir, &QPushButton::clicked, this, [this] { BitBtn_ImprimirClick(); });
    connect(BitBtn_Fechar, &QPushButton::clicked, this, &QDialog::accept);
    for (QComboBox* box : {ComboBox_CNPJ, ComboBox_Mes, ComboBox_Ano, ComboBox_Situacao})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Refilter(); });
    connect(DBGrid_Historico->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ShowChosenResult(); });
}

TF_Historico::~TF_Historico() = default;

bool TF_Historico::OpenJournal()
{
    std::vector<std::string> cnpjs;
    std::vector<int> years;
    try {
        journal_ = std::make_unique<SendJournal>(journalFile_);
        cnpjs = journal_->Cnpjs();
        years = journal_->Years();
    } catch (const JournalError& e) {
        journal_.reset();
        ShowError("Não foi possível ler o histórico de envios em " + journalFile_.string() + ": " + e.what() + ".");
        return false;
    }
    const QSignalBlocker blockCnpj(ComboBox_CNPJ), blockAno(ComboBox_Ano);
    ComboBox_CNPJ->clear();
    ComboBox_CNPJ->addItem(QStringLiteral("Todos"));
    for (const std::string& cnpj : cnpjs)
        ComboBox_CNPJ->addItem(Text(cnpj), Text(cnpj));
    ComboBox_Ano->clear();
    ComboBox_Ano->addItem(QStringLiteral("Todos"));
    for (int year : years)
        ComboBox_Ano->addItem(QString::number(year), year);
    Refilter();
    return true;
}

JournalFilter TF_Historico::Filter() const
{
    JournalFilter filter;
    if (ComboBox_CNPJ->currentIndex() > 0)
        filter.cnpj = ComboBox_CNPJ->currentData().toString().toStdString();
    if (ComboBox_Mes->currentIndex() > 0)
        filter.month = ComboBox_Mes->currentData().toInt();
    if (ComboBox_Ano->currentIndex() > 0)
        filter.year = ComboBox_Ano->currentData().toInt();
    if (ComboBox_Situacao->currentIndex() > 0)
        filter.situacao = ComboBox_Situacao->currentData().toString().toStdString();
    return filter;
}

std::string TF_Historico::FilterText() const
{
    const auto shown = [](const QComboBox* box) { return box->currentText().toStdString(); };
    return "C.N.P.J. " + shown(ComboBox_CNPJ) + ", Mês " + shown(ComboBox_Mes) + ", Ano " + shown(ComboBox_Ano) +
           ", Situação " + shown(ComboBox_Situacao);
}

void TF_Historico::Refilter()
{
    if (!journal_)
        return;
    try {
        model_->setRows(journal_->Find(Filter()));
    } catch (const JournalError& e) {
        model_->setRows({});
        ShowError("Não foi possível ler o histórico de envios em " + journalFile_.string() + ": " + e.what() + ".");
    }
    const auto count = model_->rows().size();
    Label_Contagem->setText(count == 1 ? QStringLiteral("1 registro") : QStringLiteral("%1 registros").arg(count));
    BitBtn_Exportar->setEnabled(count > 0);
    BitBtn_Imprimir->setEnabled(count > 0);
    if (count > 0)
        DBGrid_Historico->selectRow(0);
    ShowChosenResult();
}

void TF_Historico::ShowChosenResult()
{
    const int row = DBGrid_Historico->currentIndex().row();
    const auto& rows = model_->rows();
    Memo_Resultado->setPlainText(row >= 0 && static_cast<std::size_t>(row) < rows.size()
                                     ? Text(rows[static_cast<std::size_t>(row)].entry.resultado)
                                     : QString());
}

void TF_Historico::BitBtn_ExportarClick()
{
    const std::optional<QString> chosen = chooseExportFile_(this);
    if (!chosen)
        return;
    QString file = *chosen;
    if (!file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        file += QStringLiteral(".csv");
    try {
        ExportJournalCsv(file.toStdString(), model_->rows());
    } catch (const JournalError& e) {
        ShowError("Não foi possível exportar o histórico para " + file.toStdString() + ": " + e.what() + ".");
    }
}

void TF_Historico::BitBtn_ImprimirClick()
{
    std::vector<HistoryLine> lines;
    lines.reserve(model_->rows().size());
    for (const JournalRow& row : model_->rows())
        lines.push_back(HistoryLineOf(row.entry, regional_));
    if (lines.empty())
        return;
    const ListingTitles titles(relGrade_);
    LayOutHistoryListing(relGrade_, lines, SummaryIssueDate(today_(), regional_), FilterText());
    relGrade_.Fechar();
}

void TF_Historico::ShowError(const std::string& text)
{
    LocalMessageDlg(text, MessageKind::Error, MsgButton::OK, MsgResult::Ok, 0);
}

} // namespace nfp
