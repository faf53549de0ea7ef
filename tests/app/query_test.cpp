// The Consultar tab's log and Re-Consultar over the results table.
#include "service_fixture.h"

#include "app/local_message_dlg.h"
#include "sending/send_queue.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace nfp::test {
namespace {

class QueryTest : public MainWindowServiceTest {
protected:
    // Sends three files so the results table holds three protocols.
    void SendThree(TF_NFP& w)
    {
        for (const char* n : {"C.139", "A.139", "B.139"}) {
            WriteFile("nfp", n, QByteArray("conteudo ") + n);
            AppendQueueRow(w.Enviar_Table(), n, Folder("nfp").toStdString() + "/");
        }
        ScriptedMessageAnswers answers{MsgResult::Yes};
        w.BitBtn_Enviar->click();
        ASSERT_EQ(w.Enviados_Table().RecordCount(), 3);
    }
    std::string Resultado(TF_NFP& w, int row)
    {
        MemoryTable& t = w.Enviados_Table();
        return t.TextAt(row, t.FieldIndex("Resultado"));
    }
};

TEST_F(QueryTest, TwoQueriesAreLoggedWithTheirSeparators)
{
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    SendThree(w);
    const std::string protocol = w.Enviados_Table().TextAt(0, 2);
    w.Edit_Protocolo->setText(QString::fromStdString(protocol));
    w.BitBtn_Consultar->click();
    w.Edit_Protocolo->setText("123");
    w.BitBtn_Consultar->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[3].operation, "Consultar");
    EXPECT_EQ(requests[3].protocolo, protocol);
    EXPECT_EQ(requests[3].usuario, "demo");
    EXPECT_EQ(requests[4].protocolo, "123");
    const QString expected = QString::fromStdString(requests[3].result) + "\n-----------------------\n" +
                             QString::fromStdString(requests[4].result) + "\n-----------------------";
    EXPECT_EQ(w.Memo->toPlainText(), expected);
    EXPECT_EQ(requests[4].result, "Arquivo de lote não localizado.");
}

TEST_F(QueryTest, ReQueryReplacesEveryResultInNameOrder)
{
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    SendThree(w);
    const std::vector<std::string> protocols{w.Enviados_Table().TextAt(0, 2), w.Enviados_Table().TextAt(1, 2),
                                             w.Enviados_Table().TextAt(2, 2)};
    w.BitBtn_Reconsultar->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    const auto requests = Requests();
    ASSERT_EQ(requests.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(requests[3 + i].operation, "Consultar");
        EXPECT_EQ(requests[3 + i].protocolo, protocols[i]);
        EXPECT_EQ(Resultado(w, i), requests[3 + i].result);
    }
    EXPECT_EQ(w.Enviados_Table().CurrentRow(), 2);
    EXPECT_EQ(w.DBMemo_Resultado->toPlainText().toStdString(), requests[5].result);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(QueryTest, FailingRowKeepsItsOldTextAndStaysCurrent)
{
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    SendThree(w);
    const std::string oldSecond = Resultado(w, 1), oldThird = Resultado(w, 2);
    local->SetFault({.status = 503, .after = 1});
    w.BitBtn_Reconsultar->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("(503)")) << errors[0].toStdString();
    const auto requests = Requests();
    EXPECT_EQ(Resultado(w, 0), requests[3].result);
    EXPECT_EQ(Resultado(w, 1), oldSecond);
    EXPECT_EQ(Resultado(w, 2), oldThird);
    EXPECT_EQ(w.Enviados_Table().CurrentRow(), 1);
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w.BitBtn_Reconsultar->isEnabled());
}

TEST_F(QueryTest, ReQueryOfAnEmptyTablePostsNothing)
{
    TF_NFP& w = Open();
    w.BitBtn_Reconsultar->click();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(Requests().empty());
}

TEST_F(QueryTest, AFailedQueryLeavesTheLogAndAReplyWithoutResultLogsAnEmptyLine)
{
    struct Case {
        const char* name;
        test_support::LocalServiceFault fault;
        bool fails;
        QString log;
    };
    const Case cases[] = {
        {"status 404", {.status = 404, .count = 1}, true, "antes"},
        {"no ConsultarResult element",
         {.contentType = "application/soap+xml", .body = "<soap:Envelope/>", .count = 1},
         false,
         "antes\n\n-----------------------"},
    };
    TF_NFP& w = Open();
    TypeDemoCredentials(w);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        w.Memo->setPlainText("antes");
        local->SetFault(c.fault);
        w.Edit_Protocolo->setText("100000001");
        w.BitBtn_Consultar->click();
        EXPECT_EQ(errors.size(), c.fails ? 1 : 0) << errors.join("; ").toStdString();
        EXPECT_EQ(w.Memo->toPlainText(), c.log);
    }
}

} // namespace
} // namespace nfp::test
