#include "service/service_envelope.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "service/file_content.h"

namespace nfp {
namespace {

struct EnvelopeCase {
    const char* name;
    ServiceOperation operation;
    ServiceCredentials credentials;
    const char* nomeArquivo;
    const char* fileBytes; // raw file, prepared with EscapeFileContent
    bool envioNormal;
    const char* protocolo;
    const char* expected;
};

const EnvelopeCase kEnvelopeCases[] = {
    {"EnviarContribuinteSimplesValidacao", ServiceOperation::Enviar,
     {"usuario1", "senha1", "11222333000181", 1}, "a0001.j39", "linha 1\nlinha 2\n", false, "",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"\r\n"
     "               xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
     "               xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
     "   <soap:Header>\r\n"
     "      <Autenticacao xmlns=\"https://www.nfp.sp.gov.br/ws\"\r\n"
     "         Usuario='usuario1'\r\n"
     "         Senha='senha1'\r\n"
     "         CNPJ='11222333000181'\r\n"
     "         CategoriaUsuario='1'/>\r\n"
     "   </soap:Header>\r\n"
     "   <soap:Body>\r\n"
     "      <Enviar xmlns=\"https://www.nfp.sp.gov.br/ws\">\r\n"
     "         <NomeArquivo>a0001.j39</NomeArquivo>\r\n"
     "         <ConteudoArquivo>linha 1\r\n"
     "linha 2\r\n"
     "</ConteudoArquivo>\r\n"
     "         <EnvioNormal>false</EnvioNormal>\r\n"
     "         <Observacoes></Observacoes>\r\n"
     "      </Enviar>\r\n"
     "   </soap:Body>\r\n"
     "</soap:Envelope>\r\n"},
    {"RetificarConsumidorProcessamentoEmptyPasswordEmptyFile", ServiceOperation::Retificar,
     {"u", "", "123", 3}, "b.k3a", "", true, "",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"\r\n"
     "               xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
     "               xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
     "   <soap:Header>\r\n"
     "      <Autenticacao xmlns=\"https://www.nfp.sp.gov.br/ws\"\r\n"
     "         Usuario='u'\r\n"
     "         Senha=''\r\n"
     "         CNPJ='123'\r\n"
     "         CategoriaUsuario='3'/>\r\n"
     "   </soap:Header>\r\n"
     "   <soap:Body>\r\n"
     "      <Retificar xmlns=\"https://www.nfp.sp.gov.br/ws\">\r\n"
     "         <NomeArquivo>b.k3a</NomeArquivo>\r\n"
     "         <ConteudoArquivo></ConteudoArquivo>\r\n"
     "         <EnvioNormal>true</EnvioNormal>\r\n"
     "         <Observacoes></Observacoes>\r\n"
     "      </Retificar>\r\n"
     "   </soap:Body>\r\n"
     "</soap:Envelope>\r\n"},
    {"EnviarLastLineWithoutBreakNoCategory", ServiceOperation::Enviar,
     {" espaço ", "s", "1", 0}, "c.j39", "x|1\r\ny|2", false, "",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"\r\n"
     "               xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
     "               xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
     "   <soap:Header>\r\n"
     "      <Autenticacao xmlns=\"https://www.nfp.sp.gov.br/ws\"\r\n"
     "         Usuario=' espaço '\r\n"
     "         Senha='s'\r\n"
     "         CNPJ='1'\r\n"
     "         CategoriaUsuario='0'/>\r\n"
     "   </soap:Header>\r\n"
     "   <soap:Body>\r\n"
     "      <Enviar xmlns=\"https://www.nfp.sp.gov.br/ws\">\r\n"
     "         <NomeArquivo>c.j39</NomeArquivo>\r\n"
     "         <ConteudoArquivo>x|1\r\n"
     "y|2</ConteudoArquivo>\r\n"
     "         <EnvioNormal>false</EnvioNormal>\r\n"
     "         <Observacoes></Observacoes>\r\n"
     "      </Enviar>\r\n"
     "   </soap:Body>\r\n"
     "</soap:Envelope>\r\n"},
    {"ConsultarContabilista", ServiceOperation::Consultar,
     {"contador", "p", "44555666000181", 2}, "", "", false, "123456789",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"\r\n"
     "               xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
     "               xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
     "   <soap:Header>\r\n"
     "      <Autenticacao xmlns=\"https://www.nfp.sp.gov.br/ws\"\r\n"
     "         Usuario='contador'\r\n"
     "         Senha='p'\r\n"
     "         CNPJ='44555666000181'\r\n"
     "         CategoriaUsuario='2'/>\r\n"
     "   </soap:Header>\r\n"
     "   <soap:Body>\r\n"
     "      <Consultar xmlns=\"https://www.nfp.sp.gov.br/ws\">\r\n"
     "         <Protocolo>123456789</Protocolo>\r\n"
     "      </Consultar>\r\n"
     "   </soap:Body>\r\n"
     "</soap:Envelope>\r\n"},
    {"ConsultarEscapedValues", ServiceOperation::Consultar,
     {"a&b<c", "it's \"x\">", "1\t2", 1}, "", "", false, "<&>",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"\r\n"
     "               xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
     "               xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
     "   <soap:Header>\r\n"
     "      <Autenticacao xmlns=\"https://www.nfp.sp.gov.br/ws\"\r\n"
     "         Usuario='a&amp;b&lt;c'\r\n"
     "         Senha='it&apos;s &quot;x&quot;>'\r\n"
     "         CNPJ='1&#9;2'\r\n"
     "         CategoriaUsuario='1'/>\r\n"
     "   </soap:Header>\r\n"
     "   <soap:Body>\r\n"
     "      <Consultar xmlns=\"https://www.nfp.sp.gov.br/ws\">\r\n"
     "         <Protocolo>&lt;&amp;&gt;</Protocolo>\r\n"
     "      </Consultar>\r\n"
     "   </soap:Body>\r\n"
     "</soap:Envelope>\r\n"},
    {"EnviarEscapedFileNameAndContent", ServiceOperation::Enviar,
     {"u", "p", "c", 1}, "R&D<1>.j39", "a < b & c \"q\" 'x'\n", true, "",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
     "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"\r\n"
     "               xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
     "               xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n"
     "   <soap:Header>\r\n"
     "      <Autenticacao xmlns=\"https://www.nfp.sp.gov.br/ws\"\r\n"
     "         Usuario='u'\r\n"
     "         Senha='p'\r\n"
     "         CNPJ='c'\r\n"
     "         CategoriaUsuario='1'/>\r\n"
     "   </soap:Header>\r\n"
     "   <soap:Body>\r\n"
     "      <Enviar xmlns=\"https://www.nfp.sp.gov.br/ws\">\r\n"
     "         <NomeArquivo>R&amp;D&lt;1&gt;.j39</NomeArquivo>\r\n"
     "         <ConteudoArquivo>a &lt; b &amp; c &quot;q&quot; 'x'\r\n"
     "</ConteudoArquivo>\r\n"
     "         <EnvioNormal>true</EnvioNormal>\r\n"
     "         <Observacoes></Observacoes>\r\n"
     "      </Enviar>\r\n"
     "   </soap:Body>\r\n"
     "</soap:Envelope>\r\n"},
};

void PrintTo(const EnvelopeCase& c, std::ostream* os) { *os << c.name; }

class EnvelopeTable : public ::testing::TestWithParam<EnvelopeCase> {};
class SendingEnvelopeTable : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(EnvelopeTable, BuildsTheExactRequestText) {
    const EnvelopeCase& c = GetParam();
    const std::string content = EscapeFileContent(c.fileBytes);
    ServiceFields fields;
    fields.NomeArquivo = c.nomeArquivo;
    fields.ConteudoArquivo = content;
    fields.EnvioNormal = c.envioNormal;
    fields.Protocolo = c.protocolo;
    EXPECT_EQ(BuildServiceEnvelope(c.operation, c.credentials, fields), c.expected);
}

TEST_P(SendingEnvelopeTable, BuildingStraightFromTheFileGivesTheSameText) {
    const EnvelopeCase& c = GetParam();
    ServiceFields fields;
    fields.NomeArquivo = c.nomeArquivo;
    fields.EnvioNormal = c.envioNormal;
    EXPECT_EQ(BuildServiceEnvelopeFromFile(c.operation, c.credentials, fields, c.fileBytes), c.expected);
}

std::vector<EnvelopeCase> SendingCases() {
    std::vector<EnvelopeCase> cases;
    for (const auto& c : kEnvelopeCases) {
        if (c.operation != ServiceOperation::Consultar) cases.push_back(c);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Golden, EnvelopeTable, ::testing::ValuesIn(kEnvelopeCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Golden, SendingEnvelopeTable, ::testing::ValuesIn(SendingCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace nfp
