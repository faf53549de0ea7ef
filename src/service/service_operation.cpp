#include "service/service_operation.h"

namespace nfp {

std::string_view OperationName(ServiceOperation operation) {
    switch (operation) {
    case ServiceOperation::Enviar: return "Enviar";
    case ServiceOperation::Retificar: return "Retificar";
    case ServiceOperation::Consultar: return "Consultar";
    }
    return "Enviar";
}

ResultTags ResultTagsFor(ServiceOperation operation) {
    switch (operation) {
    case ServiceOperation::Enviar: return {"<EnviarResult>", "</EnviarResult>"};
    case ServiceOperation::Retificar: return {"<RetificarResult>", "</RetificarResult>"};
    case ServiceOperation::Consultar: return {"<ConsultarResult>", "</ConsultarResult>"};
    }
    return {"<EnviarResult>", "</EnviarResult>"};
}

} // namespace nfp
