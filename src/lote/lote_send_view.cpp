#include "lote/lote_send_view.h"

#include "profiles/profile_list.h"

namespace nfp {

namespace {

constexpr int kNo = 7;

} // namespace

ServiceCredentials LoteSendView::Credentials()
{
    // What the window's login panel shows for the current profile.
    const LoginPanelState panel = LoginPanelFor(registros_);
    ServiceCredentials c;
    c.Usuario = panel.usuario;
    c.Senha = panel.senha;
    c.CNPJ = panel.cnpj;
    c.CategoriaUsuario = panel.tipoIndex.value_or(-1) + 1;
    return c;
}

void LoteSendView::ProcessMessages()
{
    if (stopRequested_ && stopRequested_())
        throw RunStopped();
}

int LoteSendView::AskAfterUnexpectedReply(const std::string&)
{
    return kNo;
}

} // namespace nfp
