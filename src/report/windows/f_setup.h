#pragma once
// The printer setup dialog behind TRelGrade::Setup.

#include "report/engine/setup_dialog.h"

#include <QDialog>
#include <QPixmap>

#include <deque>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace nfp {

class TRelGrade;

// What the printer properties dialog was left with: a printer, or a PDF file
// (Qt's PDF printer, "Print to File (PDF)").
struct PrinterPropertiesAnswer {
  std::string printer;
  std::string pdfFile;  // not empty: print into this file
};

// Test and automation hook for the printer properties dialog: while an
// instance lives, each queued answer replaces the dialog; a name is the
// printer that is current afterwards, std::nullopt leaves it as it was.
// With the queue empty the platform's dialog shows.
class ScriptedPrinterProperties {
 public:
  ScriptedPrinterProperties();
  explicit ScriptedPrinterProperties(std::initializer_list<std::optional<std::string>> answers);
  ~ScriptedPrinterProperties();
  ScriptedPrinterProperties(const ScriptedPrinterProperties&) = delete;
  ScriptedPrinterProperties& operator=(const ScriptedPrinterProperties&) = delete;

  void Push(std::optional<std::string> answer);
  // The PDF printer chosen, printing into `file`.
  void PushPdfFile(std::string file);
  const std::vector<std::string>& Asked() const { return asked_; }  // printer shown
  std::size_t Pending() const { return answers_.size(); }

  static ScriptedPrinterProperties* Current();
  // False when nothing is queued; otherwise `answer` is the queued one
  // (nothing for a cancelled dialog).
  bool TakeAnswer(const std::string& shown, std::optional<PrinterPropertiesAnswer>& answer);

 private:
  std::deque<std::optional<PrinterPropertiesAnswer>> answers_;
  std::vector<std::string> asked_;
  ScriptedPrinterProperties* outer_;
};

class TFRMsetup : public QDialog {
  Q_OBJECT
 public:
  // Shown in the printer list when there is no printer at all.
  static constexpr const char* kNoPrinter = "Nenhuma impressora instalada.";

  TFRMsetup(TRelGrade& engine, const SetupRequest& request, QWidget* parent = nullptr);

  // The choices after OK, nothing after Cancel.
  std::optional<SetupChoices> Choices() const { return choices_; }

  // Handlers, public so tests drive them as the controls do.
  void IMPRESSORASExit();   // the printer choice
  void BitBtn1Click();
  void OKClick();
  void CANCELARClick();
  void chkSelecaoClick();
  void chkTodasClick();
  void chkAgruparClick();

  // Which collation picture shows now.
  const QPixmap& CollationPicture() const;
  bool MayClose() const { return mayClose_; }

  QFrame* Shape1 = nullptr;
  QLabel* Image3 = nullptr;
  QLabel* Label3 = nullptr;
  QFrame* Bevel13 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* IMPRESSORAS = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QLabel* Label4 = nullptr;
  QComboBox* MODELOS = nullptr;
  QCheckBox* chkPreview = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QRadioButton* chkTodas = nullptr;
  QRadioButton* chkAtual = nullptr;
  QRadioButton* chkSelecao = nullptr;
  QLineEdit* EdPaginas = nullptr;
  QLabel* PrintL = nullptr;
  QComboBox* EdParImpar = nullptr;
  QLabel* Label5 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* edCOPIAS = nullptr;
  QToolButton* UpDown1Up = nullptr;
  QToolButton* UpDown1Down = nullptr;
  QWidget* Imagem3 = nullptr;
  QCheckBox* chkAgrupar = nullptr;
  QCheckBox* chkInverter = nullptr;
  QPushButton* OK = nullptr;
  QPushButton* CANCELAR = nullptr;

  static constexpr int kUpDownMin = 1;
  static constexpr int kUpDownMax = 50;
  // The up-down buttons: one step, kept within 1 to 50.
  void UpDownStep(int delta);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  void SelectPrinter(const std::string& name);
  // Puts the entry of a PDF file in the printer list (one at most) and
  // selects it.
  void SelectPdfFile(const std::string& file);
  bool PdfFileSelected() const;
  std::string SelectedPrinter() const;  // empty for the PDF file

  TRelGrade& engine_;
  QColor fontColor_;
  bool mayClose_ = false;
  bool shownOnce_ = false;
  std::string pdfFile_;
  std::optional<SetupChoices> choices_;
  QPixmap img123123_, img112233_, img321321_, img332211_;
};

// The engine's setup dialog service.
class QtSetupDialog final : public SetupDialog {
 public:
  std::optional<SetupChoices> Exec(TRelGrade& engine, const SetupRequest& request) override;
};

}  // namespace nfp
