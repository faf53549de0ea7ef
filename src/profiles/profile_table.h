#pragma once
// Layout of the profile table.
#include "util/memory_table.h"

namespace nfp {

// CDS_Registros: CNPJ (14), USUARIO (20), SENHA (20), TIPO (integer),
// CAMINHO (150), ENVIAR (1); rows in the order they were appended.
TableLayout ProfileTableLayout();

} // namespace nfp
