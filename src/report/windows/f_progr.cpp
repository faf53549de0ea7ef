#include "report/windows/f_progr.h"

#include "report/engine/rel_grade.h"
#include "report/graphics/report_qcolor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>

namespace nfp {
namespace {

const QColor kMagenta(255, 0, 255);

// Six frames of 35 x 34 on magenta: a sheet with a moving mark.
QPixmap DrawStrip(ProgressStrip strip) {
  QPixmap pixmap(kProgressFrames * kProgressFrameWidth, kProgressFrameHeight);
  pixmap.fill(kMagenta);
  QPainter p(&pixmap);
  for (int f = 0; f < kProgressFrames; ++f) {
    const int x0 = f * kProgressFrameWidth;
    p.setPen(Qt::black);
    switch (strip) {
      case ProgressStrip::Imprimindo: {
        // A printer feeding a sheet out, a little more each frame.
        p.setBrush(Qt::white);
        p.drawRect(x0 + 10, 2 + f * 2, 14, 12);
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(x0 + 3, 14, 28, 10);
        p.setBrush(QColor(0, 160, 0));
        p.drawRect(x0 + 26, 17, 2, 2);
        break;
      }
      case ProgressStrip::Gravando: {
        // A sheet going down into a disk.
        p.setBrush(QColor(40, 40, 160));
        p.drawRect(x0 + 6, 20, 23, 12);
        p.setBrush(Qt::white);
        p.drawRect(x0 + 11, 1 + f * 3, 12, 14);
        break;
      }
      case ProgressStrip::Lendo: {
        // A sheet coming up out of a disk.
        p.setBrush(QColor(40, 40, 160));
        p.drawRect(x0 + 6, 20, 23, 12);
        p.setBrush(Qt::white);
        p.drawRect(x0 + 11, 16 - f * 3, 12, 14);
        break;
      }
      case ProgressStrip::None:
        break;
    }
  }
  return pixmap;
}

}  // namespace

int NextProgressFrame(int counter) {
  const int next = counter + 1;
  return next >= kProgressFrames ? 0 : next;
}

ProgressStrip StripForCaption(const std::string& caption) {
  if (caption == kCaptionLendo) return ProgressStrip::Lendo;
  if (caption == kCaptionImprimindo) return ProgressStrip::Imprimindo;
  if (caption == kCaptionGravando) return ProgressStrip::Gravando;
  return ProgressStrip::None;
}

QPixmap TFRMProgr::StripPicture(ProgressStrip strip) { return DrawStrip(strip); }

TFRMProgr::TFRMProgr(TRelGrade& owner, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      owner_(owner),
      frame_(kProgressFrameWidth, kProgressFrameHeight),
      lendo_(DrawStrip(ProgressStrip::Lendo)),
      imprimindo_(DrawStrip(ProgressStrip::Imprimindo)),
      gravando_(DrawStrip(ProgressStrip::Gravando)) {
  setObjectName(QStringLiteral("FRMProgr"));
  setWindowTitle(QString::fromLatin1(kCaptionImprimindo));
  setFixedSize(280, 97);
  setAutoFillBackground(true);
  // Every other window waits while this one is up.
  setWindowModality(Qt::ApplicationModal);

  NOMEREL = new QLabel(QStringLiteral("Titulo do Relatório"), this);
  NOMEREL->setObjectName(QStringLiteral("NOMEREL"));
  NOMEREL->setGeometry(17, 11, 250, 14);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(16, 28, 249, 19);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  SpeedButton1 = new QPushButton(QStringLiteral("&Cancelar"), this);
  SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  SpeedButton1->setGeometry(107, 63, 80, 25);
  SpeedButton1->setFlat(true);
  SpeedButton1->setAutoDefault(false);
  SpeedButton1->setFocusPolicy(Qt::NoFocus);
  connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
  frame_.fill(palette().color(QPalette::Window));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move((s.width() - width()) / 2, (s.height() - height()) / 2);
  }
}

TFRMProgr::~TFRMProgr() { timer_.stop(); }

void TFRMProgr::SetColors(TColor form, TColor font) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ReportQColor(form));
  pal.setColor(QPalette::WindowText, ReportQColor(font));
  setPalette(pal);
}

void TFRMProgr::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void TFRMProgr::SetLabel(const std::string& text) { NOMEREL->setText(QString::fromStdString(text)); }

void TFRMProgr::SetMaximum(int maximum) { ProgressBar1->setMaximum(std::max(0, maximum)); }

void TFRMProgr::SetPosition(int position) { ProgressBar1->setValue(position); }

void TFRMProgr::Show() {
  // FormShow: the animation starts over.
  counter_ = 0;
  desenha();
  show();
  raise();
  timer_.start(kTimerInterval, this);
}

void TFRMProgr::Step() {
  if (ProgressBar1->value() < ProgressBar1->maximum()) ProgressBar1->setValue(ProgressBar1->value() + 1);
}

void TFRMProgr::Repaint() { repaint(); }

void TFRMProgr::Close() {
  timer_.stop();
  closing_ = true;
  hide();
}

void TFRMProgr::desenha() {
  counter_ = NextProgressFrame(counter_);
  frame_.fill(palette().color(QPalette::Window));
  const QPixmap* strip = nullptr;
  switch (Strip()) {
    case ProgressStrip::Lendo: strip = &lendo_; break;
    case ProgressStrip::Imprimindo: strip = &imprimindo_; break;
    case ProgressStrip::Gravando: strip = &gravando_; break;
    case ProgressStrip::None: break;
  }
  if (strip != nullptr) {
    // Magenta is the strip's transparent colour.
    const QImage piece = strip->toImage().copy(counter_ * kProgressFrameWidth, 0,
                                               kProgressFrameWidth, kProgressFrameHeight);
    QImage shown = frame_.toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < piece.height(); ++y)
      for (int x = 0; x < piece.width(); ++x) {
        const QRgb c = piece.pixel(x, y);
        if ((c & 0xFFFFFF) != (kMagenta.rgb() & 0xFFFFFF)) shown.setPixel(x, y, c);
      }
    frame_ = QPixmap::fromImage(shown);
  }
}

void TFRMProgr::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // Every repaint moves the animation on, as every tick does.
  desenha();
  QPainter p(this);
  p.drawPixmap(15, 54, frame_);
}

void TFRMProgr::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timer_.timerId()) {
    update();
    return;
  }
  QDialog::timerEvent(event);
}

void TFRMProgr::SpeedButton1Click() {
  const std::string question = "Deseja realmente Cancelar ?";
  bool yes = false;
  if (owner_.services.messages != nullptr)
    yes = owner_.services.messages->Confirm(question);
  else
    yes = QMessageBox::question(this, QStringLiteral("Confirmação"),
                                QString::fromStdString(question),
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  if (yes) owner_.Cancelar();
}

// Only the engine closes this window.
void TFRMProgr::closeEvent(QCloseEvent* event) {
  if (closing_)
    QDialog::closeEvent(event);
  else
    event->ignore();
}

void TFRMProgr::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

std::unique_ptr<ProgressWindow> QtProgressWindowFactory::Create(TRelGrade& owner) {
  return std::make_unique<TFRMProgr>(owner, nullptr);
}

}  // namespace nfp
