#include "util/table_layouts.h"

namespace nfp {

TableLayout SendQueueLayout() {
    return {"CDS_Enviar",
            {{"Arquivo", FieldType::Text, 12}, {"Caminho", FieldType::Text, 100}},
            "Arquivo"};
}

TableLayout ResultsLayout() {
    return {"CDS_Enviados",
            {{"Arquivo", FieldType::Text, 12},
             {"Caminho", FieldType::Text, 100},
             {"Protocolo", FieldType::Text, 9},
             {"Resultado", FieldType::Text, 480},
             // The CNPJ it was sent for, so a re-query speaks for the same taxpayer.
             {"CNPJ", FieldType::Text, 14}},
            "Arquivo"};
}

} // namespace nfp
