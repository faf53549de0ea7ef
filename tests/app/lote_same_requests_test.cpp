// The batch command sends what the Enviar button's batch sends: the same
// profiles from the same profile file, the same month's files, and the
// same requests byte for byte, in the same order.
#include "service_fixture.h"

#include "app/local_message_dlg.h"
#include "lote_process.h"
#include "profiles/profile_operations.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace nfp::test {
namespace {

class LoteSameRequestsTest : public MainWindowServiceTest {
protected:
    std::vector<std::string> Bodies(const test_support::LocalService& s) const
    {
        std::vector<std::string> bodies;
        for (const auto& r : s.Requests())
            bodies.push_back(r.body);
        return bodies;
    }
};

TEST_F(LoteSameRequestsTest, TheCommandSendsTheWindowsBatchByteForByte)
{
    struct Case {
        int envio;       // ComboBox_Envio: 0 "Simples Validação", 1 "Processamento"
        int retificacao; // ComboBox_Retificacao: 0 "Não", 1 "Sim"
        std::vector<std::string> options;
    };
    const std::string config = dir.filePath(QStringLiteral("config")).toStdString();
    store = std::make_shared<IniProfileStore>(config + "/Zeltra/NFP.ini");
    SaveProfile(*store, "77888999000181", "contador", "conta456", 1, (Folder("tres") + "/").toStdString());
    SaveProfile(*store, "11222333000181", "demo", "demo123", 0, (Folder("um") + "/").toStdString());
    for (const char* n : {"B.139", "A.139", "A.140"})
        WriteFile("um", n, QByteArray("um ") + n + "\r\n<&>\"'\n\xE7\xE3o");
    for (const char* n : {"E.239", "C.139", "d.j39"})
        WriteFile("tres", n, QByteArray("tres ") + n + "\n");

    for (const Case& c : {Case{1, 0, {"--processamento"}}, Case{0, 1, {"--validacao", "--retificar"}}}) {
        SCOPED_TRACE(c.options.front());
        local.emplace();
        service = local->PosterSettings();
        TF_NFP& w = Open();
        w.MaskEdit_Data->setText("03/2009");
        w.ComboBox_Envio->setCurrentIndex(c.envio);
        w.ComboBox_Retificacao->setCurrentIndex(c.retificacao);
        {
            ScriptedMessageAnswers answers{MsgResult::Yes};
            w.BitBtn_Enviar->click();
        }
        ASSERT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
        const std::vector<std::string> sent = Bodies(*local);
        ASSERT_EQ(sent.size(), 5u);
        window.reset();

        const test_support::LocalService other;
        std::vector<std::string> arguments = c.options;
        for (const char* a : {"--mes", "03/2009"})
            arguments.emplace_back(a);
        const std::string tmp = dir.path().toStdString();
        const ProgramEnd end = RunLoteProgram(arguments,
                                              {{"NFP_ENDPOINT", other.Endpoint()},
                                               {"NFP_CA_BUNDLE", other.CaBundle().string()},
                                               {"NFP_JOURNAL", tmp + "/lote.sqlite"},
                                               {"XDG_CONFIG_HOME", config},
                                               {"HOME", tmp}},
                                              tmp);
        EXPECT_EQ(end.status, 0) << end.out << end.err;
        EXPECT_EQ(Bodies(other), sent);
    }
}

} // namespace
} // namespace nfp::test
