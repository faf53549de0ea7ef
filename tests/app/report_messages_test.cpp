// The report engine's message boxes in the main window: the program's own
// message dialog, its Portuguese buttons, and the texts' line breaks.
#include "app/local_message_dlg.h"
#include "main_window_fixture.h"
#include "report/engine/rel_grade.h"
#include "report/files/report_file_saver.h"

#include <QLabel>
#include <QPushButton>

namespace nfp::test {
namespace {

class ReportMessagesTest : public MainWindowTest {};

TEST_F(ReportMessagesTest, EngineMessagesUseTheProgramsMessageDialog)
{
    TF_NFP& w = Open();
    ScriptedMessageAnswers script{MsgResult::Ok, MsgResult::Yes, MsgResult::No};
    const std::string failed = std::string(kMsgErroAbertura) + "/tmp/x/resumo.RGR";
    w.RelGrade->ShowMessage(failed);
    ASSERT_NE(w.RelGrade->services.messages, nullptr);
    EXPECT_TRUE(w.RelGrade->services.messages->Confirm("Deseja realmente Cancelar ?"));
    EXPECT_FALSE(w.RelGrade->services.messages->Confirm("Deseja realmente Cancelar ?"));

    const auto& asked = script.Asked();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text, QString::fromStdString(failed));
    EXPECT_EQ(asked[0].kind, MessageKind::Custom);
    EXPECT_EQ(asked[0].buttons, MsgButton::OK);
    EXPECT_EQ(asked[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(asked[1].buttons, MsgButton::YesNo);
}

TEST_F(ReportMessagesTest, TheFileNameStandsOnItsOwnLine)
{
    const QString text = QString::fromUtf8(kMsgErroAbertura) + QStringLiteral("/tmp/x/resumo.RGR");
    LocalMessageDialog dialog(text, MessageKind::Custom, MsgButton::OK, MsgResult::Ok);
    EXPECT_EQ(dialog.MessageLabel()->text(),
              QStringLiteral("Erro na abertura do arquivo...\n\nArquivo: /tmp/x/resumo.RGR"));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(kApplicationTitle));
    EXPECT_EQ(dialog.Button(MsgResult::Ok)->text(), QStringLiteral("&Ok"));
}

} // namespace
} // namespace nfp::test
