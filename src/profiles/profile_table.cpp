#include "profiles/profile_table.h"

namespace nfp {

TableLayout ProfileTableLayout() {
    return {"CDS_Registros",
            {{"CNPJ", FieldType::Text, 14},
             {"USUARIO", FieldType::Text, 20},
             {"SENHA", FieldType::Text, 20},
             {"TIPO", FieldType::Integer, 0},
             {"CAMINHO", FieldType::Text, 150},
             {"ENVIAR", FieldType::Text, 1}},
            std::nullopt};
}

} // namespace nfp
