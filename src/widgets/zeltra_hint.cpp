#include "widgets/zeltra_hint.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <QTimerEvent>
#include <QToolTip>

namespace nfp {
namespace {

TZeltraHint*& InstalledHint() {
  static TZeltraHint* installed = nullptr;
  return installed;
}

QRect ToQRect(const HintRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The control whose hint applies at a widget: itself or the nearest parent
// with a hint, within the same window.
QWidget* HintedControl(QWidget* w) {
  for (; w != nullptr; w = w->parentWidget()) {
    if (!w->toolTip().isEmpty()) return w;
    if (w->isWindow()) break;
  }
  return nullptr;
}

}  // namespace

// --- component ------------------------------------------------------------

TZeltraHint::TZeltraHint(QObject* owner) : QObject(owner) {
  ColorBackground = QToolTip::palette().color(QPalette::ToolTipBase);
  FontColor = QApplication::palette().color(QPalette::WindowText);
  font_ = QApplication::font();
  if (QCoreApplication::instance() != nullptr) {
    previous_ = InstalledHint();
    InstalledHint() = this;
    QCoreApplication::instance()->installEventFilter(this);
  }
}

TZeltraHint::~TZeltraHint() {
  if (InstalledHint() == this) InstalledHint() = previous_;
}

TZeltraHint* TZeltraHint::Installed() { return InstalledHint(); }

TZeltraHintWindow* TZeltraHint::Window() {
  if (!window_) window_ = std::make_unique<TZeltraHintWindow>();
  return window_.get();
}

void TZeltraHint::ShowHintFor(QWidget* control, QPoint globalPos) {
  if (control == nullptr) return;
  QString text = control->toolTip();
  bool canShow = true;
  const QPoint local = control->mapFromGlobal(globalPos);
  HintInfo info{control, {local.x(), local.y()}, kHintHidePause};
  if (OnShowHint) OnShowHint(text, canShow, info);
  if (!canShow || text.isEmpty()) return;
  const QPoint topLeft = control->mapToGlobal(QPoint(0, control->height()));
  Window()->ActivateHint({topLeft.x(), topLeft.y(), topLeft.x(), topLeft.y()}, text,
                         {globalPos.x(), globalPos.y()});
  shownFor_ = control;
  hidePause_ = info.hidePause;
  if (hidePause_ > 0) hideTimer_.start(hidePause_, this);
}

void TZeltraHint::HideHint() {
  showTimer_.stop();
  hideTimer_.stop();
  pending_.clear();
  shownFor_.clear();
  if (window_) window_->hide();
}

void TZeltraHint::FirePending() {
  showTimer_.stop();
  QWidget* control = pending_;
  pending_.clear();
  if (control != nullptr && control->isVisible()) ShowHintFor(control, QCursor::pos());
}

void TZeltraHint::Arm(QWidget* control, int pause) {
  pending_ = control;
  pendingPause_ = pause;
  showTimer_.start(pause, this);
}

bool TZeltraHint::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip:
      // Our own timing and window replace the toolkit's tooltip.
      return true;
    case QEvent::Enter: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget == nullptr || widget == window_.get()) break;
      QWidget* control = HintedControl(widget);
      if (control == nullptr) {
        if (shownFor_ || pending_) HideHint();
        break;
      }
      if (control == shownFor_ || control == pending_) break;
      const bool showing = window_ && window_->isVisible();
      if (showing) window_->hide();
      shownFor_.clear();
      hideTimer_.stop();
      Arm(control, showing ? kHintShortPause : kHintPause);
      break;
    }
    case QEvent::Leave: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && (widget == shownFor_ || widget == pending_)) {
        // Moving into a child of the hinted control keeps its hint.
        const QWidget* under = QApplication::widgetAt(QCursor::pos());
        if (under == nullptr || HintedControl(const_cast<QWidget*>(under)) != widget) {
          const bool showing = window_ && window_->isVisible();
          HideHint();
          // A hint shown a moment ago lets the next control's hint come quickly.
          if (showing && under != nullptr)
            if (QWidget* next = HintedControl(const_cast<QWidget*>(under))) Arm(next, kHintShortPause);
        }
      }
      break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
      if (shownFor_ || pending_) HideHint();
      break;
    default:
      break;
  }
  return false;
}

void TZeltraHint::timerEvent(QTimerEvent* event) {
  if (event->timerId() == showTimer_.timerId()) {
    FirePending();
  } else if (event->timerId() == hideTimer_.timerId()) {
    hideTimer_.stop();
    if (window_) window_->hide();
  } else {
    QObject::timerEvent(event);
  }
}

// --- window ---------------------------------------------------------------

TZeltraHintWindow::TZeltraHintWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput) {
  setObjectName(QStringLiteral("ZeltraHintWindow"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  drawFont_ = QApplication::font();
  fontColor_ = QToolTip::palette().color(QPalette::ToolTipText);
  background_ = QToolTip::palette().color(QPalette::ToolTipBase);
}

void TZeltraHintWindow::TakeSettings() {
  // Without a component the values from creation stay.
  const TZeltraHint* hint = TZeltraHint::Installed();
  if (hint == nullptr) return;
  drawFont_ = hint->Font();
  fontColor_ = hint->FontColor;
  background_ = hint->ColorBackground;
  border_ = hint->ColorBorder;
  arrowBackground_ = hint->ColorArrowBackground;
  arrow_ = hint->ColorArrow;
  maxWidth_ = hint->MaxHintWidth;
}

HintPoint TZeltraHintWindow::MeasureText(const QFont& font, const QString& text, HintRect start,
                                         int limit) {
  const QFontMetrics fm(font);
  const QRect r = fm.boundingRect(QRect(start.left, start.top, limit, 0),
                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  return {r.width(), r.height()};
}

void TZeltraHintWindow::ActivateHint(HintRect rect, const QString& text, HintPoint pointer) {
  text_ = text;
  TakeSettings();
  const HintPoint t = MeasureText(drawFont_, text_, rect, HintTextLimit(maxWidth_));
  const HintPoint size = HintWindowSize(t.x, t.y);
  QSize screen(1024, 768);
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
  corner_ = ChooseArrowCorner(pointer, screen.width(), screen.height());
  const HintRect place = HintWindowRect(corner_, pointer, size.x, size.y);
  arrowPoint_ = LayoutHint(corner_, size.x, size.y).arrow;
  setGeometry(ToQRect(place));
  show();
  raise();
  update();
}

void TZeltraHintWindow::ActivateHint(HintRect rect, const QString& text) {
  const QPoint p = QCursor::pos();
  ActivateHint(rect, text, {p.x(), p.y()});
}

void TZeltraHintWindow::paintEvent(QPaintEvent*) {
  const HintLayout layout = LayoutHint(corner_, width(), height());
  arrowPoint_ = layout.arrow;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(ToQRect(layout.strip), arrowBackground_);
  painter.fillRect(ToQRect(layout.textArea), background_);
  painter.setPen(QPen(border_, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, width() - 1, height() - 1);

  QPen arrowPen(arrow_, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  painter.setPen(arrowPen);
  QPolygon line;
  for (const HintPoint& p : layout.arrowLine) line << QPoint(p.x, p.y);
  painter.drawPolyline(line);

  painter.setFont(drawFont_);
  painter.setPen(fontColor_);
  painter.drawText(ToQRect(layout.textRect), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   text_);
}

}  // namespace nfp
