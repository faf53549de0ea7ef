// The Enviar tab's file selection and the Delete key of the two grids.
#include "main_window_fixture.h"

#include "app/data_grid.h"
#include "app/local_message_dlg.h"
#include "app/open_file_dialog.h"
#include "sending/send_queue.h"
#include "widgets/zeltra_browser.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace nfp::test {
namespace {

class SendQueueTest : public MainWindowTest {
protected:
    std::vector<std::string> Rows(MemoryTable& t)
    {
        std::vector<std::string> rows;
        for (int r = 0; r < t.RecordCount(); ++r)
            rows.push_back(t.TextAt(r, 1) + t.TextAt(r, 0));
        return rows;
    }
    std::string Path(const QString& folder) { return (Folder(folder) + "/").toStdString(); }
};

TEST_F(SendQueueTest, ChosenFilesAreQueuedInNameOrderWithTheirFolder)
{
    TF_NFP& w = Open();
    w.MaskEdit_Data->setText("03/2009");
    const QString b = WriteFile("nfp", "B.139", "b");
    const QString a = WriteFile("nfp", "A.139", "a");
    ScriptedOpenFileAnswers dialog;
    dialog.Push(QStringList{b, a});
    w.BitBtn_Arquivos->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    ASSERT_EQ(dialog.Requests().size(), 1u);
    EXPECT_EQ(dialog.Requests()[0].title, "Selecionar o(s) arquivo(s) a ser(em) transmitido(s)...");
    EXPECT_EQ(dialog.Requests()[0].filterDescription, "Arquivos Nota Fiscal Paulista...");
    EXPECT_EQ(dialog.Requests()[0].pattern, "*.?39");
    EXPECT_EQ(Rows(w.Enviar_Table()), (std::vector<std::string>{Path("nfp") + "A.139", Path("nfp") + "B.139"}));
    EXPECT_EQ(w.Enviar_Table().CurrentRow(), 0);

    // Cancelling adds nothing; a second choice adds to what is queued.
    dialog.Push(std::nullopt);
    w.BitBtn_Arquivos->click();
    dialog.Push(QStringList{a});
    w.BitBtn_Arquivos->click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 3);
}

TEST_F(SendQueueTest, FolderReadingFindsTheMonthsEntriesEveryTime)
{
    TF_NFP& w = Open();
    w.MaskEdit_Data->setText("03/2009");
    WriteFile("nfp", "Z.139", "z");
    WriteFile("nfp", "x.j39", "x");
    WriteFile("nfp", ".oculto.239", "h");
    WriteFile("nfp", "A.140", "a");
    Folder("nfp/PASTA.339");
    ScriptedFolderAnswers browser;
    browser.Push(Folder("nfp"));     // no trailing "/"
    browser.Push(Folder("nfp") + "/"); // one already
    w.BitBtn_Pasta->click();
    w.BitBtn_Pasta->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const std::string p = Path("nfp");
    EXPECT_EQ(Rows(w.Enviar_Table()),
              (std::vector<std::string>{p + ".oculto.239", p + ".oculto.239", p + "PASTA.339", p + "PASTA.339",
                                        p + "Z.139", p + "Z.139", p + "x.j39", p + "x.j39"}));
    ASSERT_EQ(browser.Requests().size(), 2u);
    EXPECT_EQ(browser.Requests()[0].title, "Localizar pastas com arquivos da NFP...");
    EXPECT_EQ(browser.Requests()[0].caption, "Localizar Pastas...");
}

TEST_F(SendQueueTest, NoFolderChosenWarnsAndQueuesNothing)
{
    TF_NFP& w = Open();
    ScriptedFolderAnswers browser;
    browser.Push(std::nullopt);
    ScriptedMessageAnswers answers{MsgResult::Ok};
    w.BitBtn_Pasta->click();
    EXPECT_TRUE(errors.isEmpty());
    ASSERT_EQ(answers.Asked().size(), 1u);
    EXPECT_EQ(answers.Asked()[0].text, "Nenhuma Pasta Selecionada...");
    EXPECT_EQ(answers.Asked()[0].kind, MessageKind::Warning);
    EXPECT_EQ(answers.Asked()[0].buttons, MsgButton::OK);
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
}

TEST_F(SendQueueTest, MonthFieldThatIsNoNumberStopsBothButtons)
{
    TF_NFP& w = Open();
    w.MaskEdit_Data->setText("  /2009");
    ScriptedOpenFileAnswers dialog;
    w.BitBtn_Arquivos->click();
    EXPECT_TRUE(dialog.Requests().empty());
    WriteFile("nfp", "A.139", "a");
    ScriptedFolderAnswers browser;
    browser.Push(Folder("nfp"));
    w.BitBtn_Pasta->click();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[0], "'  ' is not a valid integer value");
    EXPECT_EQ(errors[1], "'  ' is not a valid integer value");
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
}

TEST_F(SendQueueTest, DeleteKeyRemovesTheCurrentQueuedFileOnlyInTheQueueGrid)
{
    TF_NFP& w = Open();
    for (const char* n : {"A.139", "B.139", "C.139"})
        AppendQueueRow(w.Enviar_Table(), n, Path("nfp"));
    AppendQueueRow(w.Enviados_Table(), "R.139", Path("nfp"));
    w.PageControl->setCurrentWidget(w.TabSheet_Resultado);
    QTest::keyClick(w.DBGrid1, Qt::Key_Delete);
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 3);
    EXPECT_EQ(w.Enviados_Table().RecordCount(), 1);

    w.PageControl->setCurrentWidget(w.TabSheet_Enviar);
    w.Enviar_Table().First();
    w.Enviar_Table().Next(); // B
    QTest::keyClick(w.DBGrid_Enviar, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Rows(w.Enviar_Table()), (std::vector<std::string>{Path("nfp") + "A.139", Path("nfp") + "C.139"}));
    EXPECT_EQ(w.Enviar_Table().FieldText("Arquivo"), "C.139");
    QTest::keyClick(w.DBGrid_Enviar, Qt::Key_Delete);
    QTest::keyClick(w.DBGrid_Enviar, Qt::Key_Delete);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
    QTest::keyClick(w.DBGrid_Enviar, Qt::Key_Delete);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "CDS_Enviar: Cannot perform this operation on an empty dataset");
}

} // namespace
} // namespace nfp::test
