#pragma once
// The history window: the send journal, newest first, filtered by CNPJ,
// month and year, and situation, with the whole result of the chosen row;
// the filtered rows can be exported as CSV or printed.
#include "journal/journal_filter.h"
#include "util/regional_settings.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace nfp {

class HistoryModel;
class SendJournal;
class TRelGrade;

class TF_Historico : public QDialog {
    Q_OBJECT
public:
    // The CSV file to export to; nullopt when the user cancels.
    using ExportFileChooser = std::function<std::optional<QString>(QWidget* parent)>;
    using Today = std::function<Date()>;

    TF_Historico(std::filesystem::path journalFile, RegionalSettings regional, TRelGrade& relGrade, Today today,
                 QWidget* parent, ExportFileChooser chooseExportFile = {});
    ~TF_Historico() override;

    // Opens the journal and lists it; false, after saying why, when the
    // journal cannot be read.
    bool OpenJournal();

    // The filter the combo boxes choose.
    JournalFilter Filter() const;
    // Lists the rows the filter lets through.
    void Refilter();
    void BitBtn_ExportarClick();
    void BitBtn_ImprimirClick();

    HistoryModel* Model() const { return model_; }

    QLabel* Label_CNPJ = nullptr;
    QComboBox* ComboBox_CNPJ = nullptr;
    QLabel* Label_Mes = nullptr;
    QComboBox* ComboBox_Mes = nullptr;
    QLabel* Label_Ano = nullptr;
    QComboBox* ComboBox_Ano = nullptr;
    QLabel* Label_Situacao = nullptr;
    QComboBox* ComboBox_Situacao = nullptr;
    QLabel* Label_Contagem = nullptr;
    QTableView* DBGrid_Historico = nullptr;
    QPlainTextEdit* Memo_Resultado = nullptr;
    QPushButton* BitBtn_Exportar = nullptr;
    QPushButton* BitBtn_Imprimir = nullptr;
    QPushButton* BitBtn_Fechar = nullptr;

private:
    // "C.N.P.J. Todos, Mês 12, Ano 2026, Situação aceito", for the listing.
    std::string FilterText() const;
    void ShowChosenResult();
    void ShowError(const std::string& text);

    std::filesystem::path journalFile_;
    RegionalSettings regional_;
    TRelGrade& relGrade_;
    Today today_;
    ExportFileChooser chooseExportFile_;
    std::unique_ptr<SendJournal> journal_;
    HistoryModel* model_ = nullptr;
};

} // namespace nfp
