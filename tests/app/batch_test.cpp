// The Enviar button's batch over the marked profiles, against the local
// service: each profile's month files go out with its own credentials.
#include "service_fixture.h"

#include "app/local_message_dlg.h"
#include "sending/send_queue.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <map>

namespace nfp::test {
namespace {

class BatchTest : public MainWindowServiceTest {
protected:
    // (CNPJ, file name) of every file the service received.
    std::vector<std::pair<std::string, std::string>> Sent()
    {
        std::vector<std::pair<std::string, std::string>> sent;
        for (const auto& r : Requests())
            if (r.operation == "Enviar")
                sent.emplace_back(r.cnpj, r.nomeArquivo.value_or("?"));
        return sent;
    }

    // Three profiles: demo (two March 2009 files), an unmarked one between,
    // and a second accountant CNPJ with three files.
    void ThreeProfiles(TF_NFP& w)
    {
        for (const char* n : {"B.139", "A.139", "A.140"})
            WriteFile("um", n, QByteArray("um ") + n);
        WriteFile("dois", "X.139", "dois");
        for (const char* n : {"E.239", "C.139", "d.j39"})
            WriteFile("tres", n, QByteArray("tres ") + n);
        AddProfile(w, "11222333000181", "demo", "demo123", 0, "um");
        AddProfile(w, "44555666000181", "contador", "conta456", 1, "dois", "N");
        AddProfile(w, "77888999000181", "contador", "conta456", 1, "tres");
        w.MaskEdit_Data->setText("03/2009");
    }
};

TEST_F(BatchTest, MarkedProfilesSendTheirOwnFilesWithTheirOwnCredentials)
{
    TF_NFP& w = Open();
    ThreeProfiles(w);
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "A.139"}, {"11222333000181", "B.139"},
                                      {"77888999000181", "C.139"}, {"77888999000181", "E.239"},
                                      {"77888999000181", "d.j39"}}));
    for (const auto& r : Requests()) {
        if (r.cnpj == "11222333000181") {
            EXPECT_EQ(r.usuario, "demo");
            EXPECT_EQ(r.senha, "demo123");
            EXPECT_EQ(r.categoria, "1");
        } else {
            EXPECT_EQ(r.usuario, "contador");
            EXPECT_EQ(r.senha, "conta456");
            EXPECT_EQ(r.categoria, "2");
        }
        EXPECT_EQ(r.conteudoArquivo, (r.cnpj == "11222333000181" ? "um " : "tres ") + *r.nomeArquivo);
    }
    EXPECT_EQ(w.Enviados_Table().RecordCount(), 5);
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
    EXPECT_EQ(w.Edit_CNPJ->text(), "77888999000181");
}

TEST_F(BatchTest, TheMonthIsReadAfreshForEveryProfile)
{
    TF_NFP& w = Open();
    ThreeProfiles(w);
    WriteFile("tres", "F.149", "tres F.149");
    // Changed while the first profile's run lets events through.
    QTimer::singleShot(0, &w, [&] { w.MaskEdit_Data->setText("04/2009"); });
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "A.139"}, {"11222333000181", "B.139"},
                                      {"77888999000181", "F.149"}}));
}

TEST_F(BatchTest, NothingMarkedOrNoProfileSendsNothingAndShowsResultado)
{
    TF_NFP& w = Open();
    {
        ScriptedMessageAnswers answers{MsgResult::Yes};
        w.BitBtn_Enviar->click();
    }
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
    AddProfile(w, "11222333000181", "demo", "demo123", 0, "um", "N");
    WriteFile("um", "A.139", "a");
    w.MaskEdit_Data->setText("03/2009");
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
}

TEST_F(BatchTest, QueuedFilesGoOutWithTheCurrentProfileAndNoWalk)
{
    TF_NFP& w = Open();
    ThreeProfiles(w);
    w.Registros_Table().First();
    WriteFile("outra", "Z.139", "z");
    AppendQueueRow(w.Enviar_Table(), "Z.139", (Folder("outra") + "/").toStdString());
    ScriptedMessageAnswers answers{MsgResult::Yes};
    w.BitBtn_Enviar->click();
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "Z.139"}}));
    EXPECT_EQ(w.Registros_Table().CurrentRow(), 0);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Resultado);
}

TEST_F(BatchTest, OnlySimSends)
{
    TF_NFP& w = Open();
    ThreeProfiles(w);
    w.PageControl->setCurrentWidget(w.TabSheet_Enviar);
    for (int answer : {MsgResult::No, MsgResult::Cancel}) {
        ScriptedMessageAnswers answers{answer};
        w.BitBtn_Enviar->click();
        EXPECT_EQ(answers.Asked().size(), 1u);
    }
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 0);
    EXPECT_EQ(w.PageControl->currentWidget(), w.TabSheet_Enviar);
}

TEST_F(BatchTest, StopInTheFirstProfileLeavesItsFilesQueuedAndEndsTheBatch)
{
    TF_NFP& w = Open();
    ThreeProfiles(w);
    WriteFile("um", "A.139", ""); // refused: empty file
    ScriptedMessageAnswers answers{MsgResult::Yes, MsgResult::Yes};
    w.BitBtn_Enviar->click();
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(Sent(), (std::vector<P>{{"11222333000181", "A.139"}}));
    EXPECT_EQ(w.Enviar_Table().RecordCount(), 2);
    EXPECT_EQ(w.Edit_CNPJ->text(), "11222333000181");
    EXPECT_NE(w.PageControl->currentWidget(), w.TabSheet_Resultado);
}

// Each result row is re-queried for the taxpayer it was sent for, whichever
// profile the panel shows; a row whose profile was removed since goes with
// the panel's credentials.
TEST_F(BatchTest, ReQueryAfterABatchAsksEachProtocolWithItsOwnProfile)
{
    struct Case {
        const char* name;
        bool removeDemo;
    };
    for (const Case& c : {Case{"every profile still there", false}, Case{"the first profile removed", true}}) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        local.emplace();
        service = local->PosterSettings();
        TF_NFP& w = Open();
        ThreeProfiles(w);
        ScriptedMessageAnswers answers{MsgResult::Yes};
        w.BitBtn_Enviar->click();
        MemoryTable& results = w.Enviados_Table();
        ASSERT_EQ(results.RecordCount(), 5);
        if (c.removeDemo) {
            w.Registros_Table().First();
            w.Registros_Table().Delete(); // the panel now shows the unmarked contador profile
        } else {
            w.Registros_Table().Locate("CNPJ", std::string("44555666000181"));
        }
        const QString panelCnpj = w.Edit_CNPJ->text();
        ASSERT_EQ(panelCnpj, "44555666000181");
        std::map<std::string, std::string> issuedTo; // protocol -> CNPJ
        for (const auto& r : Requests())
            issuedTo[r.issued] = r.cnpj;

        w.BitBtn_Reconsultar->click();
        EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        const auto requests = Requests();
        ASSERT_EQ(requests.size(), 10u);
        for (std::size_t i = 5; i < requests.size(); ++i) {
            const auto& r = requests[i];
            SCOPED_TRACE(r.protocolo.value_or("?"));
            EXPECT_EQ(r.operation, "Consultar");
            const std::string sentFor = issuedTo[r.protocolo.value_or("")];
            const bool panel = c.removeDemo && sentFor == "11222333000181";
            EXPECT_EQ(r.cnpj, panel ? "44555666000181" : sentFor);
            EXPECT_EQ(r.usuario, sentFor == "11222333000181" && !panel ? "demo" : "contador");
            EXPECT_EQ(r.senha, sentFor == "11222333000181" && !panel ? "demo123" : "conta456");
            EXPECT_EQ(r.categoria, sentFor == "11222333000181" && !panel ? "1" : "2");
        }
        // Every row keeps its processing result, except those asked for
        // another taxpayer.
        for (int row = 0; row < results.RecordCount(); ++row) {
            const std::string text = results.TextAt(row, results.FieldIndex("Resultado"));
            const bool demo = results.TextAt(row, results.FieldIndex("CNPJ")) == "11222333000181";
            if (c.removeDemo && demo)
                EXPECT_EQ(text, "Arquivo de lote não localizado.");
            else
                EXPECT_NE(text.find("nenhum erro encontrado"), std::string::npos) << text;
        }
        // The re-query moved neither the current profile nor the panel.
        EXPECT_EQ(w.Edit_CNPJ->text(), panelCnpj);
        EXPECT_EQ(w.Registros_Table().FieldText("CNPJ"), "44555666000181");
    }
}

} // namespace
} // namespace nfp::test
