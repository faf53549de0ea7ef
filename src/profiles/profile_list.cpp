#include "profiles/profile_list.h"

namespace nfp {

LoginPanelState LoginPanelFor(const MemoryTable& registros)
{
    LoginPanelState state;
    if (registros.RecordCount() == 0)
        return state;
    state.locked = true;
    state.usuario = registros.FieldText("USUARIO");
    state.senha = registros.FieldText("SENHA");
    state.cnpj = registros.FieldText("CNPJ");
    state.tipoIndex = CategoryPosition(registros.FieldInt("TIPO"));
    return state;
}

std::optional<ServiceCredentials> ProfileCredentials(const MemoryTable& registros, std::string_view cnpj)
{
    const int cnpjField = registros.FieldIndex("CNPJ");
    for (int row = 0; row < registros.RecordCount(); ++row) {
        if (registros.TextAt(row, cnpjField) != cnpj)
            continue;
        ServiceCredentials c;
        c.Usuario = registros.TextAt(row, registros.FieldIndex("USUARIO"));
        c.Senha = registros.TextAt(row, registros.FieldIndex("SENHA"));
        c.CNPJ = std::string(cnpj);
        c.CategoriaUsuario =
            CategoryPosition(std::get<std::int32_t>(registros.ValueAt(row, registros.FieldIndex("TIPO")))) + 1;
        return c;
    }
    return std::nullopt;
}

int CategoryPosition(std::int32_t tipo)
{
    if (tipo < 0)
        return -1;
    return tipo >= 3 ? 2 : static_cast<int>(tipo);
}

std::string CategoryCellText(std::int32_t tipo)
{
    switch (tipo) {
    case 0: return "Contribuinte";
    case 1: return "Contabilista";
    case 2: return "Consumidor";
    default: return " ";
    }
}

SendFlagPicture SendFlagPictureFor(std::string_view flag)
{
    if (flag == "N")
        return SendFlagPicture::NotMarked;
    if (flag == "S")
        return SendFlagPicture::Marked;
    return SendFlagPicture::None;
}

std::string ToggledSendFlag(std::string_view flag)
{
    return flag == "S" ? "N" : "S";
}

} // namespace nfp
