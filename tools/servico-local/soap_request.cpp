#include "soap_request.h"

#include <pugixml.hpp>

#include <strings.h>

#include <cstdint>
#include <utility>
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

// Namespaces in XML: a name is a local name or prefix:local, neither part
// empty.
bool IsQualifiedName(std::string_view name) {
    const auto colon = name.find(':');
    if (colon == std::string_view::npos) return !name.empty();
    return colon > 0 && colon + 1 < name.size() && name.find(':', colon + 1) == std::string_view::npos;
}

// Every element and attribute of the document, walked without recursion
// (a body may nest deeply).
void CheckQualifiedNames(const pugi::xml_document& doc) {
    pugi::xml_node n = doc.first_child();
    while (n) {
        if (n.type() == pugi::node_element) {
            if (!IsQualifiedName(n.name())) Sender("Nome de elemento inválido: " + std::string(n.name()));
            for (const pugi::xml_attribute a : n.attributes()) {
                if (!IsQualifiedName(a.name())) Sender("Nome de atributo inválido: " + std::string(a.name()));
            }
        }
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling()) n = n.parent();
        if (n) n = n.next_sibling();
    }
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

// A character XML 1.0 allows (its Char production).
bool IsXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// The value of a character reference's digits; nullopt when they are not
// digits or the value lies beyond any character.
std::optional<std::uint32_t> CharacterReferenceValue(std::string_view digits, bool hex) {
    if (digits.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (const char d : digits) {
        int v = -1;
        if (d >= '0' && d <= '9') v = d - '0';
        else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
        else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
        if (v < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
        if (value > 0x10FFFF) return std::nullopt;
    }
    return value;
}

// One reference starting at the '&' in `at`; refuses what an XML reader refuses.
void CheckReference(std::string_view body, std::size_t at) {
    const auto semi = body.find(';', at + 1);
    const std::string_view name =
        semi == std::string_view::npos ? std::string_view{} : body.substr(at + 1, semi - at - 1);
    if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos") return;
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const auto value = CharacterReferenceValue(name.substr(hex ? 2 : 1), hex);
        if (value && IsXmlChar(*value)) return;
        Sender("Referência a um caractere não permitido em XML na posição " + std::to_string(at));
    }
    Sender("Referência de entidade inválida na posição " + std::to_string(at));
}

// pugixml is lenient where an XML reader is not: it keeps an unknown or
// unterminated entity reference as text, decodes any character reference,
// and takes '<' in attribute values, "]]>" in text and "--" in comments.
// This walk over the markup refuses all of that and any character XML does
// not allow; inside comments, CDATA sections and processing instructions
// '&' is plain text.
void CheckCharactersAndMarkup(std::string_view body) {
    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto c = static_cast<unsigned char>(body[i]);
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            Sender("Caractere não permitido em XML na posição " + std::to_string(i));
        // U+FFFE and U+FFFF: the only other characters valid UTF-8 can spell that XML forbids.
        if (c == 0xEF && (body.substr(i, 3) == "\xEF\xBF\xBE" || body.substr(i, 3) == "\xEF\xBF\xBF"))
            Sender("Caractere não permitido em XML na posição " + std::to_string(i));
    }
    std::size_t i = 0;
    // Past the end of an unterminated construct: the XML reader refuses it.
    const auto after = [&](std::string_view close, std::size_t from) {
        const auto end = body.find(close, from);
        return end == std::string_view::npos ? body.size() : end + close.size();
    };
    while (i < body.size()) {
        const char c = body[i];
        if (c == '&') {
            CheckReference(body, i++);
        } else if (c == ']' && body.substr(i, 3) == "]]>") {
            Sender("A sequência ]]> não pode aparecer no texto (posição " + std::to_string(i) + ")");
        } else if (c != '<') {
            ++i;
        } else if (body.substr(i, 4) == "<!--") {
            const std::size_t end = body.find("-->", i + 4);
            if (end == std::string_view::npos) return;
            const std::string_view comment = body.substr(i + 4, end - i - 4);
            if (comment.find("--") != std::string_view::npos || comment.ends_with('-'))
                Sender("Comentário com -- na posição " + std::to_string(i));
            i = end + 3;
        } else if (body.substr(i, 9) == "<![CDATA[") {
            i = after("]]>", i + 9);
        } else if (body.substr(i, 2) == "<?") {
            i = after("?>", i + 2);
        } else if (body.substr(i, 2) == "<!") {
            // A SOAP message carries no document type declaration (nor the entities it could declare).
            Sender("Declaração não permitida na posição " + std::to_string(i));
        } else {
            // A tag, up to its '>' outside the quoted attribute values.
            char quote = 0;
            for (++i; i < body.size(); ++i) {
                const char t = body[i];
                if (quote) {
                    if (t == quote) quote = 0;
                    else if (t == '<') Sender("'<' em valor de atributo na posição " + std::to_string(i));
                    else if (t == '&') CheckReference(body, i);
                } else if (t == '"' || t == '\'') {
                    quote = t;
                } else if (t == '>') {
                    break;
                } else if (t == '<') {
                    Sender("'<' dentro de uma marca na posição " + std::to_string(i));
                }
            }
            ++i;
        }
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
    CheckCharactersAndMarkup(body);

    pugi::xml_document doc;
    // Whitespace-only text is kept: a file of blanks is not an empty file.
    const unsigned options =
        (pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
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

    CheckQualifiedNames(doc);
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
