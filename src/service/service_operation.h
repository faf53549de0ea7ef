#pragma once
// The three operations of the file service and the element that carries
// each one's result in the reply.
#include <string_view>

namespace nfp {

enum class ServiceOperation { Enviar, Retificar, Consultar };

// "Enviar", "Retificar" or "Consultar": the request's operation element.
std::string_view OperationName(ServiceOperation operation);

struct ResultTags {
    std::string_view opening; // "<EnviarResult>"
    std::string_view closing; // "</EnviarResult>"
};

// The result element of each operation's reply: EnviarResult, RetificarResult
// or ConsultarResult.
ResultTags ResultTagsFor(ServiceOperation operation);

} // namespace nfp
