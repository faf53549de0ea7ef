#include "report/windows/f_setup.h"

#include "report/engine/rel_grade.h"
#include "report/graphics/report_qcolor.h"
#include "report/windows/setup_key_filters.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace nfp {
namespace {

ScriptedPrinterProperties*& CurrentPropertiesScript() {
  static ScriptedPrinterProperties* current = nullptr;
  return current;
}

QPixmap PrinterPicture() {
  QPixmap pixmap(18, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(40, 40, 40));
  p.setBrush(Qt::white);
  p.drawRect(5, 1, 8, 5);                 // paper in
  p.setBrush(QColor(150, 150, 150));
  p.drawRect(1, 6, 15, 6);                // body
  p.setBrush(Qt::white);
  p.drawRect(4, 10, 10, 5);               // paper out
  p.setPen(QColor(0, 160, 0));
  p.drawPoint(14, 8);
  return pixmap;
}

// Six sheets numbered as they leave the printer.
QPixmap CollationPictureOf(const char* order) {
  QPixmap pixmap(93, 38);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  QFont f = p.font();
  f.setPixelSize(10);
  p.setFont(f);
  for (int i = 0; i < 6; ++i) {
    const int group = i / 3;
    const int x = 2 + i * 14 + group * 4;
    const int y = 4 + (i % 3) * 3;
    const QRect sheet(x, y, 12, 26);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.drawText(sheet, Qt::AlignCenter, QString(QChar::fromLatin1(order[i])));
  }
  return pixmap;
}

class PrinterItemDelegate : public QStyledItemDelegate {
 public:
  explicit PrinterItemDelegate(QObject* parent)
      : QStyledItemDelegate(parent), picture_(PrinterPicture()) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 24, 16);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
    painter->drawPixmap(option.rect.left() + 2, option.rect.top(), picture_);
    painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
    painter->setFont(option.font);
    painter->drawText(QRect(option.rect.left() + 24, option.rect.top() + 1,
                            option.rect.width() - 24, option.rect.height() - 1),
                      Qt::AlignLeft | Qt::AlignTop, index.data().toString());
  }

 private:
  QPixmap picture_;
};

template <typename W>
W* Place(W* widget, const char* name, int x, int y, int w, int h) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

bool AllDigits(const QString& text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

}  // namespace

// --- printer properties hook -------------------------------------------------

ScriptedPrinterProperties::ScriptedPrinterProperties() : outer_(CurrentPropertiesScript()) {
  CurrentPropertiesScript() = this;
}
ScriptedPrinterProperties::ScriptedPrinterProperties(
    std::initializer_list<std::optional<std::string>> answers)
    : ScriptedPrinterProperties() {
  for (const auto& answer : answers) Push(answer);
}
ScriptedPrinterProperties::~ScriptedPrinterProperties() { CurrentPropertiesScript() = outer_; }
ScriptedPrinterProperties* ScriptedPrinterProperties::Current() { return CurrentPropertiesScript(); }
void ScriptedPrinterProperties::Push(std::optional<std::string> answer) {
  if (answer)
    answers_.push_back(PrinterPropertiesAnswer{std::move(*answer), {}});
  else
    answers_.push_back(std::nullopt);
}
void ScriptedPrinterProperties::PushPdfFile(std::string file) {
  answers_.push_back(PrinterPropertiesAnswer{{}, std::move(file)});
}
bool ScriptedPrinterProperties::TakeAnswer(const std::string& shown,
                                           std::optional<PrinterPropertiesAnswer>& answer) {
  asked_.push_back(shown);
  if (answers_.empty()) return false;
  answer = std::move(answers_.front());
  answers_.pop_front();
  return true;
}

// --- the dialog --------------------------------------------------------------

TFRMsetup::TFRMsetup(TRelGrade& engine, const SetupRequest& request, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      engine_(engine),
      fontColor_(ReportQColor(request.fontColor)),
      img123123_(CollationPictureOf("123123")),
      img112233_(CollationPictureOf("112233")),
      img321321_(CollationPictureOf("321321")),
      img332211_(CollationPictureOf("332211")) {
  setObjectName(QStringLiteral("FRMsetup"));
  setWindowTitle(QStringLiteral("Imprimir"));
  setFixedSize(522, 282);
  {
    // The 8-point dialog font the captions were laid out for, or a stand-in
    // as narrow; the desktop's larger default font would run them under
    // their neighbours.
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setPixelSize(11);
    setFont(f);
  }

  Shape1 = Place(new QFrame(this), "Shape1", 0, 0, 522, 45);
  Shape1->setAutoFillBackground(true);
  {
    QPalette pal = Shape1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Shape1->setPalette(pal);
  }
  Image3 = Place(new QLabel(this), "Image3", 8, 8, 32, 32);
  Image3->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
  Image3->setToolTip(QStringLiteral("RelGrade"));
  Label3 = Place(new QLabel(QStringLiteral("Configuração da Impressão"), this), "Label3", 152, 10,
                 360, 26);
  {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(19);
    Label3->setFont(f);
  }
  Bevel13 = Place(new QFrame(this), "Bevel13", 0, 45, 522, 2);
  Bevel13->setFrameShape(QFrame::HLine);
  Bevel13->setFrameShadow(QFrame::Sunken);

  Label2 = Place(new QLabel(QStringLiteral("&Impressora:"), this), "Label2", 10, 61, 58, 13);
  IMPRESSORAS = Place(new QComboBox(this), "IMPRESSORAS", 70, 57, 331, 22);
  IMPRESSORAS->setItemDelegate(new PrinterItemDelegate(IMPRESSORAS));
  Label2->setBuddy(IMPRESSORAS);
  BitBtn1 = Place(new QPushButton(QStringLiteral("&Propriedades..."), this), "BitBtn1", 420, 56,
                  90, 25);
  BitBtn1->setAutoDefault(false);

  Label4 = Place(new QLabel(QStringLiteral("&Modelo: "), this), "Label4", 10, 95, 58, 13);
  MODELOS = Place(new QComboBox(this), "MODELOS", 70, 92, 217, 22);
  Label4->setBuddy(MODELOS);
  chkPreview = Place(new QCheckBox(QStringLiteral("&Visualizar"), this), "chkPreview", 420, 94, 90,
                     17);

  GroupBox1 = Place(new QGroupBox(QStringLiteral("Intervalo de Páginas:"), this), "GroupBox1", 10,
                    124, 276, 113);
  chkTodas = Place(new QRadioButton(QStringLiteral("&Todas"), GroupBox1), "chkTodas", 10, 18, 90, 17);
  chkAtual = Place(new QRadioButton(QStringLiteral("Página &Atual"), GroupBox1), "chkAtual", 10, 38,
                   90, 17);
  chkSelecao = Place(new QRadioButton(QStringLiteral("Pá&ginas:"), GroupBox1), "chkSelecao", 10,
                     60, 80, 17);
  EdPaginas = Place(new QLineEdit(GroupBox1), "EdPaginas", 92, 58, 175, 21);
  PrintL = Place(new QLabel(QStringLiteral("Imprimir:"), GroupBox1), "PrintL", 10, 88, 80, 13);
  EdParImpar = Place(new QComboBox(GroupBox1), "EdParImpar", 92, 84, 175, 22);
  EdParImpar->addItems({QStringLiteral("Todas as páginas do intervalo"),
                        QStringLiteral("Páginas ímpares"), QStringLiteral("Páginas pares")});
  Label5 = Place(new QLabel(QStringLiteral("Digite as páginas e/ou intervalos separados \n"
                                           "por virgula.  Por exemplo: 1,3,5-12"),
                            this),
                 "Label5", 11, 247, 300, 28);

  GroupBox2 = Place(new QGroupBox(QStringLiteral("Cópias:"), this), "GroupBox2", 294, 124, 218, 113);
  Label1 = Place(new QLabel(QStringLiteral("&Número de Cópias"), GroupBox2), "Label1", 10, 24, 108,
                 13);
  edCOPIAS = Place(new QLineEdit(QStringLiteral("1"), GroupBox2), "edCOPIAS", 120, 20, 45, 21);
  edCOPIAS->setMaxLength(4);
  Label1->setBuddy(edCOPIAS);
  UpDown1Up = Place(new QToolButton(GroupBox2), "UpDown1Up", 165, 20, 16, 10);
  UpDown1Up->setArrowType(Qt::UpArrow);
  UpDown1Down = Place(new QToolButton(GroupBox2), "UpDown1Down", 165, 31, 16, 10);
  UpDown1Down->setArrowType(Qt::DownArrow);
  Imagem3 = Place(new QLabel(GroupBox2), "Imagem3", 10, 56, 93, 38);
  chkAgrupar = Place(new QCheckBox(QStringLiteral("Agrupar"), GroupBox2), "chkAgrupar", 112, 58,
                     100, 17);
  chkAgrupar->setChecked(true);
  chkInverter = Place(new QCheckBox(QStringLiteral("Ordem inversa"), GroupBox2), "chkInverter", 112,
                      80, 104, 17);

  OK = Place(new QPushButton(QStringLiteral("&Ok"), this), "OK", 339, 249, 85, 25);
  OK->setDefault(true);
  OK->setAutoDefault(true);
  CANCELAR = Place(new QPushButton(QStringLiteral("&Cancelar"), this), "CANCELAR", 429, 249, 85, 25);
  CANCELAR->setAutoDefault(false);

  // FormCreate: the printers, the current one selected, the first model.
  for (const std::string& name : request.printers)
    IMPRESSORAS->addItem(QString::fromStdString(name));
  IMPRESSORAS->setPlaceholderText(QString::fromUtf8(kNoPrinter));
  SelectPrinter(request.currentPrinter);
  if (!request.outputFile.empty()) SelectPdfFile(request.outputFile);

  // Setup, step 3.
  MODELOS->addItems({QStringLiteral("Epson - Matriciais e compatíveis"),
                     QStringLiteral("Rima / Emilia"), QStringLiteral("HP Deskjet/Laser (PCL 3)"),
                     QStringLiteral("Gráfico - Compatível com Windows"),
                     QString::fromStdString(request.customModelName),
                     QStringLiteral("Bobina / Cupom")});
  MODELOS->setCurrentIndex(static_cast<int>(request.model));
  chkPreview->setChecked(request.preview);
  chkPreview->setEnabled(!request.previewActive);
  setWindowTitle(QString::fromStdString(request.caption));
  setAutoFillBackground(true);
  {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ReportQColor(request.formColor));
    setPalette(pal);
  }
  edCOPIAS->setText(QString::number(std::clamp(request.copies, kUpDownMin, kUpDownMax)));
  EdPaginas->setText(QString::fromStdString(request.pageSelection));
  chkTodas->setChecked(request.pageSelection.empty());
  EdPaginas->setEnabled(!request.pageSelection.empty());
  chkAgrupar->setChecked(request.collate);
  chkInverter->setChecked(request.reverse);
  EdParImpar->setCurrentIndex(std::clamp(request.oddEven, 0, 2));
  chkAgruparClick();

  connect(IMPRESSORAS, &QComboBox::currentIndexChanged, this, [this] { IMPRESSORASExit(); });
  IMPRESSORAS->installEventFilter(this);
  EdPaginas->installEventFilter(this);
  edCOPIAS->installEventFilter(this);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(OK, &QPushButton::clicked, this, [this] { OKClick(); });
  connect(CANCELAR, &QPushButton::clicked, this, [this] { CANCELARClick(); });
  connect(chkSelecao, &QRadioButton::clicked, this, [this] { chkSelecaoClick(); });
  connect(chkTodas, &QRadioButton::clicked, this, [this] { chkTodasClick(); });
  connect(chkAtual, &QRadioButton::clicked, this, [this] { chkTodasClick(); });
  connect(chkAgrupar, &QCheckBox::clicked, this, [this] { chkAgruparClick(); });
  connect(chkInverter, &QCheckBox::clicked, this, [this] { chkAgruparClick(); });
  connect(UpDown1Up, &QToolButton::clicked, this, [this] { UpDownStep(+1); });
  connect(UpDown1Down, &QToolButton::clicked, this, [this] { UpDownStep(-1); });

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move((s.width() - width()) / 2, (s.height() - height()) / 2);
  }
}

void TFRMsetup::SelectPrinter(const std::string& name) {
  const int index = IMPRESSORAS->findText(QString::fromStdString(name), Qt::MatchExactly);
  if (index >= 0)
    IMPRESSORAS->setCurrentIndex(index);
  else if (IMPRESSORAS->count() > 0 && IMPRESSORAS->currentIndex() < 0)
    IMPRESSORAS->setCurrentIndex(0);
}

// The PDF file's entry carries its file name; printers carry nothing.
constexpr int kPdfFileRole = Qt::UserRole + 1;

void TFRMsetup::SelectPdfFile(const std::string& file) {
  pdfFile_ = file;
  int index = -1;
  for (int i = 0; i < IMPRESSORAS->count() && index < 0; ++i)
    if (!IMPRESSORAS->itemData(i, kPdfFileRole).toString().isEmpty()) index = i;
  if (index < 0) {
    IMPRESSORAS->addItem(QString());
    index = IMPRESSORAS->count() - 1;
  }
  IMPRESSORAS->setItemText(index, QString::fromStdString(kArquivoPdf + file));
  IMPRESSORAS->setItemData(index, QString::fromStdString(file), kPdfFileRole);
  IMPRESSORAS->setCurrentIndex(index);
}

bool TFRMsetup::PdfFileSelected() const {
  return !IMPRESSORAS->currentData(kPdfFileRole).toString().isEmpty();
}

std::string TFRMsetup::SelectedPrinter() const {
  return PdfFileSelected() ? std::string() : IMPRESSORAS->currentText().toStdString();
}

void TFRMsetup::IMPRESSORASExit() {
  if (PdfFileSelected()) {
    // A PDF file takes pages, not a text printer's bytes.
    engine_.Impressora = TModelo::Grafico;
    engine_.PreparaImpressora(engine_.Impressora, engine_.TamanhoQteLinhas, engine_.TamanhoQteLPP);
  } else {
    engine_.DetectaModelo(IMPRESSORAS->currentText().toUpper().toStdString());
  }
  MODELOS->setCurrentIndex(static_cast<int>(engine_.Impressora));
}

void TFRMsetup::BitBtn1Click() {
  const std::string shown = SelectedPrinter();
  std::optional<PrinterPropertiesAnswer> after;
  bool answered = false;
  if (ScriptedPrinterProperties* script = ScriptedPrinterProperties::Current())
    answered = script->TakeAnswer(shown, after);
  if (!answered) {
    QPrinter printer;
    if (!shown.empty()) printer.setPrinterName(QString::fromStdString(shown));
    if (PdfFileSelected()) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdfFile_));
    }
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Propriedades"));
    if (dialog.exec() == QDialog::Accepted) {
      // Qt's PDF printer ("Print to File (PDF)") leaves a file name, not a printer.
      if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        after = PrinterPropertiesAnswer{{}, printer.outputFileName().toStdString()};
      else
        after = PrinterPropertiesAnswer{printer.printerName().toStdString(), {}};
    }
  }
  if (after.has_value()) {
    if (!after->pdfFile.empty())
      SelectPdfFile(after->pdfFile);
    else
      SelectPrinter(after->printer);
  }
  IMPRESSORASExit();
}

void TFRMsetup::OKClick() {
  // Nothing is taken unless everything can be.
  if (!AllDigits(edCOPIAS->text())) {
    engine_.ShowMessage("N\xC3\xBAmero de C\xC3\xB3pias inv\xC3\xA1lido...");
    edCOPIAS->setFocus();
    return;
  }
  SetupChoices c;
  c.printer = SelectedPrinter();
  if (PdfFileSelected()) c.outputFile = pdfFile_;
  c.model = static_cast<TModelo>(std::max(0, MODELOS->currentIndex()));
  c.range = chkTodas->isChecked()   ? SetupPageRange::Todas
            : chkAtual->isChecked() ? SetupPageRange::Atual
                                    : SetupPageRange::Selecao;
  c.pages = EdPaginas->text().toStdString();
  c.oddEven = std::max(0, EdParImpar->currentIndex());
  c.collate = chkAgrupar->isChecked();
  c.reverse = chkInverter->isChecked();
  c.preview = chkPreview->isChecked();
  c.copies = edCOPIAS->text().toInt();
  choices_ = c;
  mayClose_ = true;
  accept();
}

void TFRMsetup::CANCELARClick() {
  choices_.reset();
  mayClose_ = true;
  QDialog::reject();
}

void TFRMsetup::chkSelecaoClick() {
  chkSelecao->setChecked(true);
  EdPaginas->setEnabled(true);
  EdPaginas->setFocus();
}

void TFRMsetup::chkTodasClick() { EdPaginas->setEnabled(false); }

const QPixmap& TFRMsetup::CollationPicture() const {
  const bool collate = chkAgrupar->isChecked();
  if (chkInverter->isChecked()) return collate ? img321321_ : img332211_;
  return collate ? img123123_ : img112233_;
}

void TFRMsetup::chkAgruparClick() {
  QPixmap shown(93, 38);
  shown.fill(palette().color(QPalette::Window));
  QPainter p(&shown);
  p.drawPixmap(0, 0, CollationPicture());
  p.end();
  static_cast<QLabel*>(Imagem3)->setPixmap(shown);
}

void TFRMsetup::UpDownStep(int delta) {
  bool ok = false;
  int value = edCOPIAS->text().toInt(&ok);
  if (!ok) value = kUpDownMin;
  edCOPIAS->setText(QString::number(std::clamp(value + delta, kUpDownMin, kUpDownMax)));
}

void TFRMsetup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  for (QWidget* w : std::initializer_list<QWidget*>{
           Label2, Label4, Label1, Label5, PrintL, chkPreview, chkTodas, chkAtual, chkSelecao,
           chkAgrupar, chkInverter}) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, fontColor_);
    pal.setColor(QPalette::ButtonText, fontColor_);
    w->setPalette(pal);
  }
  IMPRESSORASExit();
}

void TFRMsetup::closeEvent(QCloseEvent* event) {
  if (!mayClose_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

// Esc presses CANCELAR; nothing else closes the dialog.
void TFRMsetup::reject() { CANCELARClick(); }

void TFRMsetup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    CANCELAR->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFRMsetup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == IMPRESSORAS && event->type() == QEvent::FocusOut) {
    IMPRESSORASExit();
  } else if ((watched == EdPaginas || watched == edCOPIAS) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Paste)) return false;
    const QString text = key->text();
    if (key->key() == Qt::Key_Backspace) return false;
    // Keys without a character (arrows, Delete, Home) and the dialog keys pass.
    if (text.isEmpty() || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
        key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
      return false;
    if (text.size() != 1 || text[0].unicode() > 0x7F) return true;
    const char typed = static_cast<char>(text[0].unicode());
    const std::optional<char> kept =
        watched == EdPaginas ? FilterPagesKey(typed) : FilterCopiesKey(typed);
    if (!kept.has_value()) return true;
    if (*kept != typed) {
      static_cast<QLineEdit*>(watched)->insert(QString(QChar::fromLatin1(*kept)));
      return true;
    }
    return false;
  } else if (watched == EdPaginas && event->type() == QEvent::MouseButtonPress) {
    // A click in the field chooses the page list.
    chkSelecaoClick();
  }
  return QDialog::eventFilter(watched, event);
}

std::optional<SetupChoices> QtSetupDialog::Exec(TRelGrade& engine, const SetupRequest& request) {
  TFRMsetup dialog(engine, request, QApplication::activeWindow());
  dialog.exec();
  return dialog.Choices();
}

}  // namespace nfp
