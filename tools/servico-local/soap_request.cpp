#include "soap_request.h"

#include <pugixml.hpp>

#include <strings.h>

#include <vector>

#include "service/service_envelope.h"
#include "util/text_codec.h"

namespace nfp::servico {
namespace {

[[noreturn]] void Sender(const std::string& reason) { throw SoapFault("soap:Sender", reason); }

std::string_view Prefix(std::string_view qualifiedName) {
    const auto colon = qualifiedName.find(':');
    return colon == std::string_view::npos ? std::string_view{} : qualifiedName.substr(0, colon);
}

std::string_view LocalName(std::string_view qualifiedName) {
    const auto colon = qualifiedName.find(':');
    return colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1);
}

// The namespace URI of an element, from the xmlns declarations in scope.
std::string NamespaceOf(pugi::xml_node element) {
    const std::string_view prefix = Prefix(element.name());
    const std::string wanted = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
    for (pugi::xml_node n = element; n && n.type() == pugi::node_element; n = n.parent()) {
        if (const pugi::xml_attribute a = n.attribute(wanted.c_str())) return a.value();
    }
    if (!prefix.empty()) Sender("Prefixo de namespace não declarado: " + std::string(prefix));
    return {};
}

bool Is(pugi::xml_node element, std::string_view ns, std::string_view localName) {
    return element.type() == pugi::node_element && LocalName(element.name()) == localName && NamespaceOf(element) == ns;
}

std::vector<pugi::xml_node> ElementChildren(pugi::xml_node parent) {
    std::vector<pugi::xml_node> children;
    for (pugi::xml_node c : parent.children()) {
        if (c.type() == pugi::node_element) children.push_back(c);
        else if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            const std::string_view text = c.value();
            if (text.find_first_not_of(" \t\r\n") != std::string_view::npos)
                Sender(std::string("Texto inesperado em ") + parent.name());
        }
    }
    return children;
}

// pugixml keeps an unknown or unterminated entity reference as text; an XML
// reader must refuse it, as it must refuse characters XML does not allow.
void CheckCharactersAndReferences(std::string_view body) {
    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto c = static_cast<unsigned char>(body[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            Sender("Caractere não permitido em XML na posição " + std::to_string(i));
        if (c != '&') continue;
        const auto semi = body.find(';', i + 1);
        const std::string_view name =
            semi == std::string_view::npos ? std::string_view{} : body.substr(i + 1, semi - i - 1);
        bool ok = name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos";
        if (!ok && name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            ok = !digits.empty() && digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") ==
                                        std::string_view::npos;
        }
        if (!ok) Sender("Referência de entidade inválida na posição " + std::to_string(i));
    }
}

} // namespace

std::optional<std::string> ServiceRequest::Field(const std::string& name) const {
    const auto it = fields.find(name);
    if (it == fields.end()) return std::nullopt;
    return it->second;
}

ServiceRequest ParseServiceRequest(std::string_view body) {
    if (!IsValidUtf8(body)) Sender("O conteúdo da requisição não é UTF-8 válido");
    CheckCharactersAndReferences(body);

    pugi::xml_document doc;
    const unsigned options = (pugi::parse_default | pugi::parse_declaration) & ~pugi::parse_eol;
    const pugi::xml_parse_result parsed = doc.load_buffer(body.data(), body.size(), options, pugi::encoding_utf8);
    if (!parsed) {
        Sender(std::string("XML mal formado: ") + parsed.description() + " na posição " +
               std::to_string(parsed.offset));
    }
    if (const pugi::xml_node decl = doc.first_child(); decl.type() == pugi::node_declaration) {
        const std::string_view encoding = decl.attribute("encoding").value();
        if (!encoding.empty() && strcasecmp(std::string(encoding).c_str(), "utf-8") != 0)
            Sender("Codificação não suportada: " + std::string(encoding));
    }

    const pugi::xml_node envelope = doc.document_element();
    if (LocalName(envelope.name()) != "Envelope") Sender("O elemento raiz não é um Envelope SOAP");
    if (NamespaceOf(envelope) != kSoapEnvelopeNamespace)
        throw SoapFault("soap:VersionMismatch", "O Envelope não está no namespace do SOAP 1.2");

    pugi::xml_node header, bodyElement;
    for (const pugi::xml_node child : ElementChildren(envelope)) {
        if (Is(child, kSoapEnvelopeNamespace, "Header") && !header && !bodyElement) header = child;
        else if (Is(child, kSoapEnvelopeNamespace, "Body") && !bodyElement) bodyElement = child;
        else Sender(std::string("Elemento inesperado no Envelope: ") + child.name());
    }
    if (!bodyElement) Sender("O Envelope não tem Body");
    if (!header) Sender("O Envelope não tem o cabeçalho Autenticacao");

    pugi::xml_node auth;
    for (const pugi::xml_node child : ElementChildren(header)) {
        if (Is(child, kServiceNamespace, "Autenticacao") && !auth) auth = child;
    }
    if (!auth) Sender("O cabeçalho Autenticacao não foi informado");

    ServiceRequest request;
    const auto attribute = [&](const char* name) {
        const pugi::xml_attribute a = auth.attribute(name);
        if (!a) Sender(std::string("Atributo ") + name + " não informado em Autenticacao");
        return std::string(a.value());
    };
    request.usuario = attribute("Usuario");
    request.senha = attribute("Senha");
    request.cnpj = attribute("CNPJ");
    request.categoria = attribute("CategoriaUsuario");

    const std::vector<pugi::xml_node> operations = ElementChildren(bodyElement);
    if (operations.size() != 1) Sender("O Body deve conter exatamente uma operação");
    const pugi::xml_node operation = operations.front();
    const std::string_view name = LocalName(operation.name());
    if (NamespaceOf(operation) != kServiceNamespace ||
        (name != "Enviar" && name != "Retificar" && name != "Consultar"))
        Sender("Operação desconhecida: " + std::string(operation.name()));
    request.operation = name;

    for (const pugi::xml_node field : ElementChildren(operation)) {
        if (NamespaceOf(field) != kServiceNamespace) continue;
        std::string text;
        for (const pugi::xml_node part : field.children()) {
            if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) text += part.value();
            else if (part.type() == pugi::node_element)
                Sender("Elemento inesperado em " + std::string(field.name()));
        }
        request.fields.emplace(std::string(LocalName(field.name())), std::move(text));
    }
    return request;
}

} // namespace nfp::servico
