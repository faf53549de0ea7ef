#pragma once
// A main window that talks to a real local service over HTTPS.
#include "main_window_fixture.h"

#include "local_service.h"

#include "app/radio_group.h"

#include <QLineEdit>

#include <optional>

namespace nfp::test {

class MainWindowServiceTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        local.emplace();
        service = local->PosterSettings();
    }

    void TearDown() override
    {
        MainWindowTest::TearDown();
        local.reset();
    }

    // The demo user typed into the empty login panel.
    void TypeDemoCredentials(TF_NFP& w)
    {
        w.Edit_Usuario->setText("demo");
        w.Edit_Senha->setText("demo123");
        w.Edit_CNPJ->setText("11222333000181");
        w.RadioGroup_Tipo->setItemIndex(0);
    }

    // A profile typed into the profile table, its files in `folder`.
    void AddProfile(TF_NFP& w, const char* cnpj, const char* user, const char* password, int tipo,
                    const QString& folder, const char* enviar = "S")
    {
        MemoryTable& t = w.Registros_Table();
        t.Append();
        t.SetField("CNPJ", cnpj);
        t.SetField("USUARIO", user);
        t.SetField("SENHA", password);
        t.SetField("TIPO", tipo);
        t.SetField("CAMINHO", (Folder(folder) + "/").toStdString());
        t.SetField("ENVIAR", enviar);
        t.Post();
    }

    std::vector<test_support::RecordedRequest> Requests() const { return local->Requests(); }

    std::optional<test_support::LocalService> local;
};

} // namespace nfp::test
