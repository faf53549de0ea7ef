#include "bare_send_loop.h"

#include <curl/curl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include <unistd.h>

#include "service/service_envelope.h"

namespace nfp::bench {
namespace {

struct CurlFree {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListFree {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

} // namespace

ReceiptFolder::ReceiptFolder(int count, std::size_t size) {
    char pattern[] = "/tmp/bench-send.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("no temporary folder");
    folder_ = std::string(pattern) + "/";
    const std::string line = "E14|000123|7891234567890|Produto de exemplo & cia|1,000|UN|10,50|10,50\r\n";
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "A%04d.J39", i);
        names_.emplace_back(name);
        std::ofstream out(folder_ + name, std::ios::binary);
        for (std::size_t written = 0; written + line.size() <= size; written += line.size()) out << line;
    }
}

ReceiptFolder::~ReceiptFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

std::vector<std::string> SendingRequests(const ReceiptFolder& folder) {
    std::vector<std::string> bodies;
    for (const auto& name : folder.Names()) {
        std::ifstream in(folder.Path() + name, std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        ServiceFields fields;
        fields.NomeArquivo = name;
        fields.EnvioNormal = true;
        bodies.push_back(BuildServiceEnvelopeFromFile(ServiceOperation::Enviar, kDemoCredentials, fields, bytes));
    }
    return bodies;
}

Clock::duration BareSendRound(const std::vector<std::string>& bodies, const HttpPosterSettings& settings) {
    std::unique_ptr<curl_slist, ListFree> headers(curl_slist_append(nullptr, "SOAPAction: \"\""));
    headers.reset(curl_slist_append(headers.release(), "Content-Type: text/xml; charset=\"utf-8\""));
    headers.reset(curl_slist_append(headers.release(), "Accept:"));
    std::string reply;
    const auto start = Clock::now();
    for (const std::string& body : bodies) {
        const std::unique_ptr<CURL, CurlFree> h(curl_easy_init());
        reply.clear();
        curl_easy_setopt(h.get(), CURLOPT_URL, settings.endpoint.c_str());
        if (settings.caBundle) curl_easy_setopt(h.get(), CURLOPT_CAINFO, settings.caBundle->c_str());
        curl_easy_setopt(h.get(), CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h.get(), CURLOPT_USERAGENT, "Zeltra SOAP 1.1");
        curl_easy_setopt(h.get(), CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(h.get(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(h.get(), CURLOPT_WRITEFUNCTION,
                         +[](char* data, std::size_t size, std::size_t n, void* user) -> std::size_t {
                             static_cast<std::string*>(user)->append(data, size * n);
                             return size * n;
                         });
        curl_easy_setopt(h.get(), CURLOPT_WRITEDATA, &reply);
        if (curl_easy_perform(h.get()) != CURLE_OK || reply.find("<EnviarResult>") == std::string::npos)
            throw std::runtime_error("the bare client's request failed");
    }
    return Clock::now() - start;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace nfp::bench
