#include "app/local_message_dlg.h"
#include "app/message_dlg_layout.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace nfp {
namespace {

// --- pure layout ---------------------------------------------------------

TEST(MessageDlgLayout, MulDivRoundsToNearest) {
  EXPECT_EQ(MulDivRound(8, 6, 4), 12);
  EXPECT_EQ(MulDivRound(10, 13, 8), 16);   // 16.25
  EXPECT_EQ(MulDivRound(14, 13, 8), 23);   // 22.75
  EXPECT_EQ(MulDivRound(8, 13, 8), 13);
  EXPECT_EQ(MulDivRound(50, 5, 4), 63);    // 62.5 rounds up
  EXPECT_EQ(MulDivRound(-50, 5, 4), -63);
  EXPECT_EQ(MulDivRound(1, 1, 0), 0);
}

TEST(MessageDlgLayout, UnitsFromFont) {
  const MessageDlgUnits u = DialogUnits(6, 13);
  EXPECT_EQ(u.horzMargin, 12);
  EXPECT_EQ(u.vertMargin, 13);
  EXPECT_EQ(u.horzSpacing, 15);
  EXPECT_EQ(u.vertSpacing, 16);
  EXPECT_EQ(u.buttonWidth, 75);
  EXPECT_EQ(u.buttonHeight, 23);
  EXPECT_EQ(u.buttonSpacing, 6);
}

TEST(MessageDlgLayout, YesNoWithIcon) {
  MessageDlgLayoutInput in;
  in.avgCharWidth = 6;
  in.charHeight = 13;
  in.textWidth = 150;
  in.textHeight = 13;
  in.hasIcon = true;
  in.captionWidths = {20, 18};
  in.screenWidth = 1024;
  in.screenHeight = 768;
  const MessageDlgLayout l = LayoutMessageDialog(in);
  // Block 150 + 32 + 15 = 197 wide, 32 high; row 75 + 6 + 75 = 156.
  EXPECT_EQ(l.clientWidth, 197 + 24);
  EXPECT_EQ(l.clientHeight, 32 + 23 + 16 + 26);
  EXPECT_EQ(l.icon, (DlgRect{12, 13, 32, 32}));
  EXPECT_EQ(l.text, (DlgRect{12 + 32 + 15, 13, 150, 13}));
  ASSERT_EQ(l.buttons.size(), 2u);
  const int first = (221 - 156) / 2;
  EXPECT_EQ(l.buttons[0], (DlgRect{first, 32 + 13 + 16, 75, 23}));
  EXPECT_EQ(l.buttons[1], (DlgRect{first + 81, 32 + 13 + 16, 75, 23}));
  EXPECT_EQ(l.left, 512 - 221 / 2);
  EXPECT_EQ(l.top, 384 - 97 / 2);
}

TEST(MessageDlgLayout, LongCaptionWidensEveryButtonAndRowCanSetWidth) {
  MessageDlgLayoutInput in;
  in.avgCharWidth = 6;
  in.charHeight = 13;
  in.textWidth = 10;
  in.textHeight = 40;
  in.hasIcon = false;
  in.captionWidths = {30, 90, 40};
  const MessageDlgLayout l = LayoutMessageDialog(in);
  ASSERT_EQ(l.buttons.size(), 3u);
  for (const DlgRect& b : l.buttons) EXPECT_EQ(b.width, 98);
  EXPECT_EQ(l.clientWidth, 3 * 98 + 2 * 6 + 24);
  EXPECT_EQ(l.text, (DlgRect{12, 13, 10, 40}));
  EXPECT_EQ(l.icon, DlgRect{});
  EXPECT_EQ(l.buttons[0].left, 12);
  EXPECT_EQ(l.buttons[0].top, 40 + 13 + 16);
}

TEST(MessageDlgLayout, LineBreaksAndTabs) {
  EXPECT_EQ(NormalizeMessageText("a\rb\nc\r\nd\r\re"), "a\nb\nc\nd\n\ne");
  EXPECT_EQ(NormalizeMessageText("ab\tc"), "ab      c");
  EXPECT_EQ(NormalizeMessageText("\tx"), "        x");
  EXPECT_EQ(NormalizeMessageText("ã\tx"), "ã       x");  // columns count characters
}

// --- the real dialog -----------------------------------------------------

// Runs the dialog, doing `action` once its loop is running.
int RunWith(LocalMessageDialog& dialog, std::function<void()> action) {
  QTimer::singleShot(0, &dialog, [&dialog, action] {
    dialog.activateWindow();
    action();
  });
  return dialog.Run();
}

void Key(LocalMessageDialog& dialog, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
  QTest::keyClick(target, key, mods);
}

struct ResultCase {
  const char* name;
  MessageButtons buttons;
  int focusResult;
  int action;  // Qt key, or 0 for the close box
  int expected;
};

void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class MessageDlgResults : public ::testing::TestWithParam<ResultCase> {};

TEST_P(MessageDlgResults, KeyGivesResult) {
  const ResultCase& c = GetParam();
  LocalMessageDialog dialog(QStringLiteral("Pergunta ?"), MessageKind::Confirmation, c.buttons,
                            c.focusResult);
  const int result = RunWith(dialog, [&dialog, &c] {
    if (c.action == 0)
      dialog.close();
    else
      Key(dialog, static_cast<Qt::Key>(c.action));
  });
  EXPECT_EQ(result, c.expected);
  EXPECT_FALSE(dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageDlgResults,
    ::testing::Values(ResultCase{"OkEnter", MsgButton::OK, 1, Qt::Key_Return, 1},
                      ResultCase{"OkKeypadEnter", MsgButton::OK, 1, Qt::Key_Enter, 1},
                      ResultCase{"OkSpace", MsgButton::OK, 1, Qt::Key_Space, 1},
                      ResultCase{"OkEsc", MsgButton::OK, 1, Qt::Key_Escape, 1},
                      ResultCase{"OkClose", MsgButton::OK, 1, 0, 2},
                      ResultCase{"YesNoEnter", MsgButton::YesNo, 6, Qt::Key_Return, 6},
                      ResultCase{"YesNoFocusNoEnter", MsgButton::YesNo, 7, Qt::Key_Return, 6},
                      ResultCase{"YesNoSpace", MsgButton::YesNo, 7, Qt::Key_Space, 6},
                      ResultCase{"YesNoEsc", MsgButton::YesNo, 6, Qt::Key_Escape, 7},
                      ResultCase{"YesNoClose", MsgButton::YesNo, 7, 0, 2}),
    [](const ::testing::TestParamInfo<ResultCase>& info) { return info.param.name; });

TEST(MessageDlg, EscWithoutCancelButtonIsIgnored) {
  LocalMessageDialog dialog(QStringLiteral("x"), MessageKind::Warning,
                            MsgButton::Abort | MsgButton::Ignore, 5);
  const int result = RunWith(dialog, [&dialog] {
    Key(dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Key(dialog, Qt::Key_Return);
  });
  // No default button: the focus starts on the named one, first in tab order.
  EXPECT_EQ(result, 5);
}

TEST(MessageDlg, ClosingEveryWindowGivesTwo) {
  // What the application does when it is told to quit.
  LocalMessageDialog dialog(QStringLiteral("m"), MessageKind::Warning, MsgButton::YesNo, 6);
  EXPECT_EQ(RunWith(dialog, [] { QApplication::closeAllWindows(); }), 2);
}

TEST(MessageDlg, TabMovesFromSimToNao) {
  LocalMessageDialog dialog(QStringLiteral("Confirma Envio dos Arquivos ?"),
                            MessageKind::Confirmation, MsgButton::YesNo, 7);
  const int result = RunWith(dialog, [&dialog] {
    EXPECT_EQ(dialog.focusWidget(), dialog.Button(6));
    Key(dialog, Qt::Key_Tab);
    EXPECT_EQ(dialog.focusWidget(), dialog.Button(7));
    Key(dialog, Qt::Key_Return);
  });
  EXPECT_EQ(result, 7);
}

TEST(MessageDlg, CaptionsIconsAndNames) {
  struct Case {
    MessageKind kind;
    const char* caption;
    bool icon;
  };
  for (const Case& c : {Case{MessageKind::Warning, "Alerta", true},
                        Case{MessageKind::Error, "Erro", true},
                        Case{MessageKind::Information, "Informação", true},
                        Case{MessageKind::Confirmation, "Confirmação", true},
                        Case{MessageKind::Custom, "Envio N.F. Paulista...", false}}) {
    LocalMessageDialog dialog(QStringLiteral("m"), c.kind, MsgButton::OK, 1);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(dialog.IconImage() != nullptr, c.icon) << c.caption;
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Image")) != nullptr, c.icon);
    ASSERT_NE(dialog.findChild<QLabel*>(QStringLiteral("Message")), nullptr);
  }
  LocalMessageDialog all(QStringLiteral("m"), MessageKind::Warning, 0x7FF, -1);
  QStringList captions;
  for (QPushButton* b : all.ButtonsInCreationOrder()) captions << b->objectName() + "=" + b->text();
  EXPECT_EQ(captions.join(u'|'),
            QStringLiteral("Yes=&Sim|No=&Não|OK=&Ok|Cancel=&Cancela|Abort=&Aborta|"
                           "Retry=&Re-Tentar|Ignore=&Ignore|All=&Tudo|NoToAll=N&o to All|"
                           "YesToAll=Yes to &All|Help=&Help"));
  EXPECT_EQ(all.StandardDefault(), all.Button(1));
  EXPECT_EQ(all.CancelButton(), all.Button(2));
}

TEST(MessageDlg, ButtonWidthsComeFromStandardCaptions) {
  LocalMessageDialog dialog(QStringLiteral("Confirma ?"), MessageKind::Confirmation,
                            MsgButton::YesNo, 7);
  const QFontMetrics fm(dialog.font());
  const int x =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
  const int y = fm.height();
  const MessageDlgUnits u = DialogUnits(x, y);
  const int expected = std::max({u.buttonWidth, fm.horizontalAdvance(QStringLiteral("Yes")) + 8,
                                 fm.horizontalAdvance(QStringLiteral("No")) + 8});
  QPushButton* sim = dialog.Button(6);
  QPushButton* nao = dialog.Button(7);
  EXPECT_EQ(sim->width(), expected);
  EXPECT_EQ(nao->width(), expected);
  EXPECT_EQ(sim->height(), u.buttonHeight);
  EXPECT_EQ(nao->x() - sim->x(), expected + u.buttonSpacing);
  EXPECT_LT(sim->x(), nao->x());
  // The row is centred.
  const int row = 2 * expected + u.buttonSpacing;
  EXPECT_EQ(sim->x(), (dialog.width() - row) / 2);
  // Icon then text at the top margin.
  EXPECT_EQ(dialog.IconImage()->geometry(), QRect(u.horzMargin, u.vertMargin, 32, 32));
  EXPECT_EQ(dialog.MessageLabel()->x(), u.horzMargin + 32 + u.horzSpacing);
  EXPECT_EQ(dialog.height(), 32 + u.buttonHeight + u.vertSpacing + 2 * u.vertMargin);
}

TEST(MessageDlg, CustomKindStartsTextAtMargin) {
  LocalMessageDialog dialog(QStringLiteral("texto"), MessageKind::Custom, MsgButton::OK, 1);
  const QFontMetrics fm(dialog.font());
  const int x =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
  const MessageDlgUnits u = DialogUnits(x, fm.height());
  EXPECT_EQ(dialog.MessageLabel()->pos(), QPoint(u.horzMargin, u.vertMargin));
  EXPECT_EQ(dialog.MessageLabel()->height(), fm.height());
}

TEST(MessageDlg, LongTextWrapsWithinHalfTheScreen) {
  QString text;
  for (int i = 0; i < 60; ++i) text += QStringLiteral("palavra ");
  LocalMessageDialog dialog(text, MessageKind::Warning, MsgButton::OK, 1);
  const int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
  const QFontMetrics fm(dialog.font());
  EXPECT_LE(dialog.MessageLabel()->width(), half);
  EXPECT_GT(dialog.MessageLabel()->height(), fm.height());
  const QRect need = fm.boundingRect(QRect(0, 0, half, 0), Qt::TextWordWrap, text);
  EXPECT_EQ(dialog.MessageLabel()->height(), need.height());
}

TEST(MessageDlg, CtrlCCopiesCaptionTextAndButtons) {
  const QString text = QStringLiteral("O Retorno do envio não foi o esperado:\r\rDeseja ?");
  LocalMessageDialog dialog(text, MessageKind::Warning, MsgButton::YesNo, 6);
  const QString divider = QString(27, u'-') + QStringLiteral("\r\n");
  const QString expected = divider + QStringLiteral("Alerta\r\n") + divider + text +
                           QStringLiteral("\r\n") + divider + QStringLiteral("Sim   Não   \r\n") +
                           divider;
  EXPECT_EQ(dialog.ClipboardText(), expected);
  QGuiApplication::clipboard()->clear();
  const int result = RunWith(dialog, [&dialog] {
    Key(dialog, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(dialog.isVisible());
    dialog.close();
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
}

TEST(MessageDlg, CenteredOnTheScreen) {
  LocalMessageDialog dialog(QStringLiteral("m"), MessageKind::Information, MsgButton::OK, 1);
  const QRect s = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(dialog.pos(), QPoint(s.width() / 2 - dialog.width() / 2,
                                 s.height() / 2 - dialog.height() / 2));
}

// --- the hook ------------------------------------------------------------

TEST(ScriptedMessageAnswers, AnswersAndRecords) {
  ScriptedMessageAnswers script{7, 1};
  EXPECT_EQ(LocalMessageDlg("Confirma Envio dos Arquivos ?", MessageKind::Confirmation,
                            MsgButton::YesNo, 7),
            7);
  EXPECT_EQ(LocalMessageDlg(std::string("Hora Inválida..."), MessageKind::Warning, MsgButton::OK,
                            1),
            1);
  ASSERT_EQ(script.Asked().size(), 2u);
  EXPECT_EQ(script.Asked()[0].text, QStringLiteral("Confirma Envio dos Arquivos ?"));
  EXPECT_EQ(script.Asked()[0].kind, MessageKind::Confirmation);
  EXPECT_EQ(script.Asked()[0].buttons, MsgButton::YesNo);
  EXPECT_EQ(script.Asked()[0].focusResult, 7);
  EXPECT_EQ(script.Asked()[1].text, QStringLiteral("Hora Inválida..."));
  EXPECT_EQ(script.Pending(), 0u);
}

TEST(ScriptedMessageAnswers, InnermostAnswersAndOuterComesBack) {
  ScriptedMessageAnswers outer{1};
  {
    ScriptedMessageAnswers inner{6};
    EXPECT_EQ(ScriptedMessageAnswers::Current(), &inner);
    EXPECT_EQ(LocalMessageDlg("a", MessageKind::Warning, MsgButton::YesNo, 6), 6);
    EXPECT_EQ(inner.Asked().size(), 1u);
  }
  EXPECT_EQ(ScriptedMessageAnswers::Current(), &outer);
  EXPECT_EQ(LocalMessageDlg("b", MessageKind::Warning, MsgButton::OK, 1), 1);
  EXPECT_EQ(outer.Asked().size(), 1u);
}

TEST(ScriptedMessageAnswers, EmptyQueueShowsTheRealDialog) {
  ScriptedMessageAnswers script;
  QTimer::singleShot(0, [] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    modal->close();
  });
  EXPECT_EQ(LocalMessageDlg("c", MessageKind::Error, MsgButton::OK, 1), 2);
  EXPECT_EQ(script.Asked().size(), 1u);
}

}  // namespace
}  // namespace nfp
