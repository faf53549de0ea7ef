// Request building: whatever the credentials, file name, protocol and file
// bytes, the request is XML that gives back every value that went in (read
// with pugixml, and with the local service's strict reader when the file
// holds only characters XML allows), and the one-pass build writes the same
// bytes as the build in steps.
//
// Input: an operation byte (0 Enviar, 1 Retificar, 2 Consultar; bit 2
// EnvioNormal), a category byte, then the texts Usuario, Senha, CNPJ and
// NomeArquivo (or Protocolo), and the rest as the file's bytes.
#include <pugixml.hpp>

#include <string>

#include "fuzz_input.h"
#include "service/file_content.h"
#include "soap_request.h"
#include "service/service_envelope.h"
#include "util/text_codec.h"

namespace {

using namespace nfp;

// UTF-8 of characters XML allows.
bool XmlText(std::string_view s) {
    if (!IsValidUtf8(s)) return false;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r') return false;
    }
    return s.find("\xEF\xBF\xBE") == std::string_view::npos && s.find("\xEF\xBF\xBF") == std::string_view::npos;
}

// Typed values come from the window as UTF-8 without the control
// characters XML cannot carry (a line edit keeps none); file names are
// UTF-8 from the file system.
bool TypedText(std::string_view s) { return XmlText(s); }

// The text of an element: its character data and CDATA, in order.
std::string TextOf(pugi::xml_node element) {
    std::string text;
    for (const pugi::xml_node part : element.children()) {
        FUZZ_CHECK(part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata);
        text += part.value();
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const unsigned char choice = input.Byte();
    const ServiceOperation operation = choice % 4 == 1   ? ServiceOperation::Retificar
                                       : choice % 4 == 2 ? ServiceOperation::Consultar
                                                         : ServiceOperation::Enviar;
    const bool envioNormal = (choice & 4) != 0;
    ServiceCredentials credentials;
    credentials.CategoriaUsuario = input.Byte() % 5;
    credentials.Usuario = input.Text();
    credentials.Senha = input.Text();
    credentials.CNPJ = input.Text();
    const std::string_view nome = input.Text();
    const std::string_view file = input.Rest();
    if (!TypedText(credentials.Usuario) || !TypedText(credentials.Senha) || !TypedText(credentials.CNPJ) ||
        !TypedText(nome))
        return -1; // not kept in the corpus

    ServiceFields fields;
    fields.EnvioNormal = envioNormal;
    std::string request;
    const std::string prepared = PrepareFileText(file);
    if (operation == ServiceOperation::Consultar) {
        fields.Protocolo = nome;
        request = BuildServiceEnvelope(operation, credentials, fields);
    } else {
        fields.NomeArquivo = nome;
        request = BuildServiceEnvelopeFromFile(operation, credentials, fields, file);
        // The same bytes as preparing, escaping and building one after the other.
        const std::string escaped = EscapeFileContent(file);
        FUZZ_CHECK(escaped == EscapeFileMarkup(prepared));
        fields.ConteudoArquivo = escaped;
        FUZZ_CHECK(request == BuildServiceEnvelope(operation, credentials, fields));
        FUZZ_CHECK(IsValidUtf8(prepared));
        FUZZ_CHECK(prepared.find('\0') == std::string::npos);
    }
    FUZZ_CHECK(IsValidUtf8(request));

    pugi::xml_document doc;
    const unsigned options =
        (pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
    const pugi::xml_parse_result parsed = doc.load_buffer(request.data(), request.size(), options, pugi::encoding_utf8);
    FUZZ_CHECK(parsed);
    const pugi::xml_node envelope = doc.child("soap:Envelope");
    FUZZ_CHECK(envelope);
    const pugi::xml_node auth = envelope.child("soap:Header").child("Autenticacao");
    FUZZ_CHECK(auth);
    FUZZ_CHECK(auth.attribute("Usuario").value() == credentials.Usuario);
    FUZZ_CHECK(auth.attribute("Senha").value() == credentials.Senha);
    FUZZ_CHECK(auth.attribute("CNPJ").value() == credentials.CNPJ);
    FUZZ_CHECK(auth.attribute("CategoriaUsuario").value() == std::to_string(credentials.CategoriaUsuario));

    const pugi::xml_node body = envelope.child("soap:Body");
    const pugi::xml_node op = body.child(std::string(OperationName(operation)).c_str());
    FUZZ_CHECK(op);
    int operations = 0;
    for (const pugi::xml_node child : body.children()) operations += child.type() == pugi::node_element;
    FUZZ_CHECK(operations == 1);
    if (operation == ServiceOperation::Consultar) {
        FUZZ_CHECK(TextOf(op.child("Protocolo")) == nome);
    } else {
        FUZZ_CHECK(TextOf(op.child("NomeArquivo")) == nome);
        FUZZ_CHECK(TextOf(op.child("ConteudoArquivo")) == prepared);
        FUZZ_CHECK(TextOf(op.child("EnvioNormal")) == (envioNormal ? "true" : "false"));
        FUZZ_CHECK(op.child("Observacoes") && TextOf(op.child("Observacoes")).empty());
    }

    if (!XmlText(prepared)) return 0;
    const servico::ServiceRequest read = servico::ParseServiceRequest(request);
    FUZZ_CHECK(read.operation == OperationName(operation));
    FUZZ_CHECK(read.usuario == credentials.Usuario && read.senha == credentials.Senha &&
               read.cnpj == credentials.CNPJ);
    FUZZ_CHECK(read.categoria == std::to_string(credentials.CategoriaUsuario));
    if (operation == ServiceOperation::Consultar) {
        FUZZ_CHECK(read.Field("Protocolo") == std::string(nome));
    } else {
        FUZZ_CHECK(read.Field("NomeArquivo") == std::string(nome));
        FUZZ_CHECK(read.Field("ConteudoArquivo") == prepared);
        FUZZ_CHECK(read.Field("EnvioNormal") == std::string(envioNormal ? "true" : "false"));
    }
    return 0;
}
