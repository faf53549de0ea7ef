#include "app/local_message_dlg.h"

#include "app/message_dlg_layout.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <array>

namespace nfp {
namespace {

struct ButtonDef {
  const char* name;
  int result;
  const char* standardCaption;
};

constexpr std::array<ButtonDef, 11> kButtons{{
    {"Yes", MsgResult::Yes, "&Yes"},
    {"No", MsgResult::No, "&No"},
    {"OK", MsgResult::Ok, "OK"},
    {"Cancel", MsgResult::Cancel, "Cancel"},
    {"Abort", MsgResult::Abort, "&Abort"},
    {"Retry", MsgResult::Retry, "&Retry"},
    {"Ignore", MsgResult::Ignore, "&Ignore"},
    {"All", MsgResult::All, "&All"},
    {"NoToAll", MsgResult::NoToAll, "N&o to All"},
    {"YesToAll", MsgResult::YesToAll, "Yes to &All"},
    {"Help", MsgResult::None, "&Help"},
}};

// Portuguese captions by modal result; the others keep the standard one.
QString ShownCaption(const ButtonDef& def) {
  switch (def.result) {
    case MsgResult::Ok: return QStringLiteral("&Ok");
    case MsgResult::Cancel: return QStringLiteral("&Cancela");
    case MsgResult::Abort: return QStringLiteral("&Aborta");
    case MsgResult::Retry: return QStringLiteral("&Re-Tentar");
    case MsgResult::Ignore: return QStringLiteral("&Ignore");
    case MsgResult::Yes: return QStringLiteral("&Sim");
    case MsgResult::No: return QStringLiteral("&Não");
    case MsgResult::All: return QStringLiteral("&Tudo");
    default: return QString::fromLatin1(def.standardCaption);
  }
}

QString KindCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::Warning: return QStringLiteral("Alerta");
    case MessageKind::Error: return QStringLiteral("Erro");
    case MessageKind::Information: return QStringLiteral("Informação");
    case MessageKind::Confirmation: return QStringLiteral("Confirmação");
    case MessageKind::Custom: break;
  }
  return QString::fromUtf8(kApplicationTitle);
}

bool KindIcon(MessageKind kind, QStyle::StandardPixmap& icon) {
  switch (kind) {
    case MessageKind::Warning: icon = QStyle::SP_MessageBoxWarning; return true;
    case MessageKind::Error: icon = QStyle::SP_MessageBoxCritical; return true;
    case MessageKind::Information: icon = QStyle::SP_MessageBoxInformation; return true;
    case MessageKind::Confirmation: icon = QStyle::SP_MessageBoxQuestion; return true;
    case MessageKind::Custom: break;
  }
  return false;
}

// "&&" stands for one ampersand; a lone "&" marks the mnemonic and goes.
QString WithoutMnemonic(const QString& caption) {
  QString out;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') {
        out += u'&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

QFont MessageBoxFont() { return QApplication::font("QMessageBox"); }

ScriptedMessageAnswers*& CurrentScript() {
  static ScriptedMessageAnswers* current = nullptr;
  return current;
}

}  // namespace

// --- scripted answers -----------------------------------------------------

ScriptedMessageAnswers::ScriptedMessageAnswers() : outer_(CurrentScript()) {
  CurrentScript() = this;
}

ScriptedMessageAnswers::ScriptedMessageAnswers(std::initializer_list<int> answers)
    : ScriptedMessageAnswers() {
  answers_.assign(answers.begin(), answers.end());
}

ScriptedMessageAnswers::~ScriptedMessageAnswers() { CurrentScript() = outer_; }

ScriptedMessageAnswers* ScriptedMessageAnswers::Current() { return CurrentScript(); }

bool ScriptedMessageAnswers::TakeAnswer(int& answer) {
  if (answers_.empty()) return false;
  answer = answers_.front();
  answers_.pop_front();
  return true;
}

// --- the dialog -----------------------------------------------------------

LocalMessageDialog::LocalMessageDialog(const QString& text, MessageKind kind,
                                       MessageButtons buttons, int focusResult,
                                       int helpContext, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      text_(text),
      helpContext_(helpContext) {
  setObjectName(QStringLiteral("LocalMessageDlg"));
  const QFont font = MessageBoxFont();
  setFont(font);
  const QFontMetrics fm(font);

  const QString shown = QString::fromStdString(NormalizeMessageText(text.toStdString()));
  const QRect screen = QGuiApplication::primaryScreen() != nullptr
                           ? QGuiApplication::primaryScreen()->geometry()
                           : QRect(0, 0, 1024, 768);
  const QRect measured =
      fm.boundingRect(QRect(0, 0, screen.width() / 2, 0), Qt::TextWordWrap, shown);

  QStyle::StandardPixmap iconKind{};
  const bool hasIcon = KindIcon(kind, iconKind);

  std::vector<const ButtonDef*> defs;
  for (std::size_t bit = 0; bit < kButtons.size(); ++bit)
    if (buttons & (1u << bit)) defs.push_back(&kButtons[bit]);

  MessageDlgLayoutInput in;
  in.avgCharWidth =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
      52;
  in.charHeight = fm.height();
  in.textWidth = measured.width();
  in.textHeight = measured.height();
  in.hasIcon = hasIcon;
  for (const ButtonDef* def : defs)
    in.captionWidths.push_back(
        fm.horizontalAdvance(WithoutMnemonic(QString::fromLatin1(def->standardCaption))));
  in.screenWidth = screen.width();
  in.screenHeight = screen.height();
  const MessageDlgLayout layout = LayoutMessageDialog(in);

  if (hasIcon) {
    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setPixmap(style()->standardIcon(iconKind, nullptr, this).pixmap(kMessageIconSize,
                                                                            kMessageIconSize));
    image_->setGeometry(layout.icon.left, layout.icon.top, layout.icon.width, layout.icon.height);
  }
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("Message"));
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setContentsMargins(0, 0, 0, 0);
  message_->setText(shown);
  message_->setGeometry(layout.text.left, layout.text.top, layout.text.width, layout.text.height);

  // The standard default: OK, else Yes, else Retry. Esc: Cancel, else No, else OK.
  QPushButton* ok = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* retry = nullptr;
  QPushButton* no = nullptr;
  QPushButton* cancel = nullptr;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    const ButtonDef& def = *defs[i];
    auto* button = new QPushButton(QString::fromLatin1(def.standardCaption), this);
    button->setObjectName(QString::fromLatin1(def.name));
    button->setAutoDefault(true);
    button->setFocusPolicy(Qt::StrongFocus);
    const DlgRect& r = layout.buttons[i];
    button->setGeometry(r.left, r.top, r.width, r.height);
    const int result = def.result;
    if (result != MsgResult::None)
      connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    buttons_.push_back(button);
    switch (result) {
      case MsgResult::Ok: ok = button; break;
      case MsgResult::Yes: yes = button; break;
      case MsgResult::Retry: retry = button; break;
      case MsgResult::No: no = button; break;
      case MsgResult::Cancel: cancel = button; break;
      default: break;
    }
  }
  default_ = ok != nullptr ? ok : yes != nullptr ? yes : retry;
  cancel_ = cancel != nullptr ? cancel : no != nullptr ? no : ok;

  setWindowTitle(KindCaption(kind));

  // Portuguese captions, and the named button first in the tab order.
  std::vector<QPushButton*> order;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    buttons_[i]->setText(ShownCaption(*defs[i]));
    if (defs[i]->result == focusResult)
      order.insert(order.begin(), buttons_[i]);
    else
      order.push_back(buttons_[i]);
  }
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  QPushButton* first = default_ != nullptr ? default_ : (order.empty() ? nullptr : order.front());
  if (default_ != nullptr) default_->setDefault(true);
  if (first != nullptr) first->setFocus(Qt::OtherFocusReason);

  setFixedSize(layout.clientWidth, layout.clientHeight);
  move(layout.left, layout.top);
}

QPushButton* LocalMessageDialog::Button(int modalResult) const {
  for (QPushButton* b : buttons_)
    for (const ButtonDef& def : kButtons)
      if (def.result == modalResult && b->objectName() == QLatin1String(def.name)) return b;
  return nullptr;
}

QString LocalMessageDialog::ClipboardText() const {
  const QString divider = QString(27, u'-') + QStringLiteral("\r\n");
  QString captions;
  for (const QPushButton* b : buttons_) captions += WithoutMnemonic(b->text()) + QStringLiteral("   ");
  return divider + windowTitle() + QStringLiteral("\r\n") + divider + text_ +
         QStringLiteral("\r\n") + divider + captions + QStringLiteral("\r\n") + divider;
}

int LocalMessageDialog::Run() {
  const int r = exec();
  return r == MsgResult::None ? MsgResult::Cancel : r;
}

// Close box, Alt+F4 and a quit all end here.
void LocalMessageDialog::reject() { done(MsgResult::Cancel); }

void LocalMessageDialog::closeEvent(QCloseEvent* event) {
  event->accept();
  if (isVisible()) done(MsgResult::Cancel);
}

void LocalMessageDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (cancel_ != nullptr) cancel_->click();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
    QApplication::beep();
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(ClipboardText());
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

// --- entry points ---------------------------------------------------------

int LocalMessageDlg(const QString& text, MessageKind kind, MessageButtons buttons,
                    int focusResult, int helpContext) {
  if (ScriptedMessageAnswers* script = ScriptedMessageAnswers::Current()) {
    script->Record({text, kind, buttons, focusResult});
    int answer = 0;
    if (script->TakeAnswer(answer)) return answer;
  }
  LocalMessageDialog dialog(text, kind, buttons, focusResult, helpContext);
  return dialog.Run() & 0xFFFF;
}

int LocalMessageDlg(const std::string& text, MessageKind kind, MessageButtons buttons,
                    int focusResult, int helpContext) {
  return LocalMessageDlg(QString::fromStdString(text), kind, buttons, focusResult, helpContext);
}

int LocalMessageDlg(const char* text, MessageKind kind, MessageButtons buttons, int focusResult,
                    int helpContext) {
  return LocalMessageDlg(QString::fromUtf8(text), kind, buttons, focusResult, helpContext);
}

}  // namespace nfp
