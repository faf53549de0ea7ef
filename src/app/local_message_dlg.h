#pragma once
// The one message box of the program: Portuguese captions, a caller-chosen
// first tab stop, and the legacy layout and keyboard rules users know.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace nfp {

enum class MessageKind : int {
  Warning = 0,
  Error = 1,
  Information = 2,
  Confirmation = 3,
  Custom = 4,
};

// A button set is a bit mask: bit i asks for button i.
using MessageButtons = std::uint16_t;
namespace MsgButton {
inline constexpr MessageButtons Yes = 1u << 0;
inline constexpr MessageButtons No = 1u << 1;
inline constexpr MessageButtons OK = 1u << 2;
inline constexpr MessageButtons Cancel = 1u << 3;
inline constexpr MessageButtons Abort = 1u << 4;
inline constexpr MessageButtons Retry = 1u << 5;
inline constexpr MessageButtons Ignore = 1u << 6;
inline constexpr MessageButtons All = 1u << 7;
inline constexpr MessageButtons NoToAll = 1u << 8;
inline constexpr MessageButtons YesToAll = 1u << 9;
inline constexpr MessageButtons Help = 1u << 10;
inline constexpr MessageButtons YesNo = Yes | No;
}  // namespace MsgButton

// Modal results; 2 is also what the close box and an application quit give.
namespace MsgResult {
inline constexpr int None = 0;
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
inline constexpr int All = 8;
inline constexpr int NoToAll = 9;
inline constexpr int YesToAll = 10;
}  // namespace MsgResult

// The caption of Custom dialogs, the application's title.
inline constexpr const char* kApplicationTitle = "Envio N.F. Paulista...";

// Shows the modal dialog and returns the result of the button pressed.
// Texts are UTF-8 in the std::string overload.
int LocalMessageDlg(const QString& text, MessageKind kind, MessageButtons buttons,
                    int focusResult, int helpContext = 0);
int LocalMessageDlg(const std::string& text, MessageKind kind, MessageButtons buttons,
                    int focusResult, int helpContext = 0);
int LocalMessageDlg(const char* text, MessageKind kind, MessageButtons buttons,
                    int focusResult, int helpContext = 0);

// One question as it was put to the user (or to a scripted answer).
struct AskedMessage {
  QString text;
  MessageKind kind;
  MessageButtons buttons;
  int focusResult;
};

// Test and automation hook: while an instance lives, LocalMessageDlg records
// every call and, when the queue holds an answer, returns it instead of
// showing the dialog. With the queue empty the real dialog is shown.
// Instances nest; the innermost one answers.
class ScriptedMessageAnswers {
 public:
  ScriptedMessageAnswers();
  explicit ScriptedMessageAnswers(std::initializer_list<int> answers);
  ~ScriptedMessageAnswers();
  ScriptedMessageAnswers(const ScriptedMessageAnswers&) = delete;
  ScriptedMessageAnswers& operator=(const ScriptedMessageAnswers&) = delete;

  void Push(int answer) { answers_.push_back(answer); }
  const std::vector<AskedMessage>& Asked() const { return asked_; }
  std::size_t Pending() const { return answers_.size(); }

  // Used by LocalMessageDlg.
  static ScriptedMessageAnswers* Current();
  bool TakeAnswer(int& answer);
  void Record(AskedMessage asked) { asked_.push_back(std::move(asked)); }

 private:
  std::deque<int> answers_;
  std::vector<AskedMessage> asked_;
  ScriptedMessageAnswers* outer_;
};

// The dialog itself; LocalMessageDlg builds one, runs it and destroys it.
// Public so tests can look at the layout and drive the keyboard.
class LocalMessageDialog : public QDialog {
  Q_OBJECT
 public:
  LocalMessageDialog(const QString& text, MessageKind kind, MessageButtons buttons,
                     int focusResult, int helpContext = 0, QWidget* parent = nullptr);

  // Runs the dialog modally; the close box and an application quit give 2.
  int Run();

  QPushButton* Button(int modalResult) const;      // nullptr when absent
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* StandardDefault() const { return default_; }
  const std::vector<QPushButton*>& ButtonsInCreationOrder() const { return buttons_; }
  QLabel* MessageLabel() const { return message_; }
  QLabel* IconImage() const { return image_; }     // nullptr for Custom
  int HelpContext() const { return helpContext_; }

  // The text Ctrl+C puts on the clipboard.
  QString ClipboardText() const;

  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QString text_;
  std::vector<QPushButton*> buttons_;
  QPushButton* default_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* image_ = nullptr;
  int helpContext_ = 0;
};

}  // namespace nfp
