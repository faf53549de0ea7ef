#include "local_service.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "self_signed_certificate.h"

#ifndef NFP_SERVICO_LOCAL_PATH
#error "NFP_SERVICO_LOCAL_PATH must name the nfp-servico-local executable"
#endif

extern char** environ;

namespace nfp::test_support {
namespace fs = std::filesystem;
namespace {

std::string ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

fs::path MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "nfp-servico-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temp folder: " + std::string(std::strerror(errno)));
    return pattern;
}

struct Pipe {
    int fd[2] = {-1, -1};
    Pipe() {
        if (::pipe2(fd, O_CLOEXEC) != 0) throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
    }
    ~Pipe() {
        for (const int f : fd) {
            if (f >= 0) ::close(f);
        }
    }
    void Close(int end) {
        if (fd[end] >= 0) ::close(fd[end]);
        fd[end] = -1;
    }
};

struct SpawnActions {
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
};

struct CurlFree {
    void operator()(CURL* h) const noexcept { curl_easy_cleanup(h); }
};
struct CurlTextFree {
    void operator()(char* text) const noexcept { curl_free(text); }
};

bool WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

std::vector<LocalServiceUser> DemoUsers() {
    return {{"demo", "demo123", "11222333000181", 1},
            {"contador", "conta456", "44555666000181", 2},
            {"contador", "conta456", "77888999000181", 2},
            {"consumidor", "cons789", "12345678000195", 3}};
}

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
    std::istringstream lines(headers);
    std::string line;
    const auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    const std::string wanted = lower(std::string(name));
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos || lower(line.substr(0, colon)) != wanted) continue;
        std::string value = line.substr(colon + 1);
        if (!value.empty() && value.front() == ' ') value.erase(0, 1);
        return value;
    }
    return std::nullopt;
}

LocalService::LocalService(std::vector<LocalServiceUser> users) : LocalService(std::move(users), std::string()) {}

LocalService::LocalService(std::vector<LocalServiceUser> users, const std::string& certificateHost)
    : dataDir_(MakeTempFolder()) {
    try {
        // The service keeps a certificate it finds in its folder.
        if (!certificateHost.empty())
            servico::WriteSelfSignedCertificate(dataDir_ / "cert.pem", dataDir_ / "key.pem", certificateHost,
                                                "DNS:" + certificateHost);
        {
            std::ofstream out(dataDir_ / "usuarios.txt", std::ios::binary);
            out << "# usuario|senha|cnpj|categoria\n";
            for (const auto& u : users) out << u.usuario << '|' << u.senha << '|' << u.cnpj << '|' << u.categoria << '\n';
        }
        Start();
    } catch (...) {
        Stop();
        std::error_code ignored;
        fs::remove_all(dataDir_, ignored);
        throw;
    }
}

void LocalService::Restart() {
    Stop();
    Start();
}

void LocalService::Start() {
    endpoint_.clear();
    caBundle_.clear();
    port_ = 0;
    Pipe out;
    SpawnActions spawn;
    posix_spawn_file_actions_adddup2(&spawn.actions, out.fd[1], STDOUT_FILENO);
    const std::string errFile = (dataDir_ / "stderr.txt").string();
    posix_spawn_file_actions_addopen(&spawn.actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const std::string program = NFP_SERVICO_LOCAL_PATH;
    const std::string dir = dataDir_.string();
    std::vector<std::string> args = {program, "--data-dir", dir};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&pid_, program.c_str(), &spawn.actions, nullptr, argv.data(), environ);
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
    }
    out.Close(1);

    // The service prints its two lines once it listens; EOF before that
    // means it gave up, and its reason is in stderr.txt.
    std::string printed;
    char buffer[512];
    std::string endpoint, caBundle;
    while (endpoint.empty() || caBundle.empty()) {
        const ssize_t n = ::read(out.fd[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        printed.append(buffer, static_cast<std::size_t>(n));
        std::istringstream lines(printed);
        std::string line;
        // Only whole lines count: the last one may still be arriving.
        while (std::getline(lines, line) && !lines.eof()) {
            if (line.rfind("NFP_ENDPOINT=", 0) == 0) endpoint = line.substr(13);
            if (line.rfind("NFP_CA_BUNDLE=", 0) == 0) caBundle = line.substr(14);
        }
    }
    if (endpoint.empty() || caBundle.empty()) {
        Stop();
        throw std::runtime_error("nfp-servico-local did not start: " + ReadWhole(errFile));
    }
    endpoint_ = endpoint;
    caBundle_ = caBundle;
    const auto colon = endpoint_.find(':', std::strlen("https://"));
    port_ = std::stoi(endpoint_.substr(colon + 1));
}

LocalService::~LocalService() {
    Stop();
    std::error_code ignored;
    fs::remove_all(dataDir_, ignored);
}

void LocalService::Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    if (!WaitForExit(pid_, std::chrono::seconds(10))) {
        ::kill(pid_, SIGKILL);
        WaitForExit(pid_, std::chrono::seconds(10));
    }
    pid_ = -1;
}

HttpPosterSettings LocalService::PosterSettings() const {
    HttpPosterSettings settings;
    settings.endpoint = endpoint_;
    settings.caBundle = caBundle_.string();
    return settings;
}

std::vector<RecordedRequest> LocalService::Requests() const {
    std::vector<fs::path> files;
    const fs::path root = dataDir_ / "requests";
    if (fs::exists(root)) {
        for (const auto& entry : fs::directory_iterator(root)) {
            const std::string name = entry.path().filename().string();
            if (name.size() == 6 && name.find_first_not_of("0123456789") == std::string::npos)
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<RecordedRequest> requests;
    for (const auto& f : files) {
        // Entries "NAME LENGTH\n" + LENGTH bytes + "\n" (request_log.h).
        const std::string text = ReadWhole(f);
        std::map<std::string, std::string, std::less<>> values;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t space = text.find(' ', at);
            const std::size_t eol = text.find('\n', at);
            if (space == std::string::npos || eol == std::string::npos || space > eol)
                throw std::runtime_error("unreadable request record " + f.string());
            const std::size_t length = std::stoul(text.substr(space + 1, eol - space - 1));
            values[text.substr(at, space - at)] = text.substr(eol + 1, length);
            at = eol + 1 + length + 1;
        }
        const auto value = [&](std::string_view name) -> std::optional<std::string> {
            const auto it = values.find(name);
            if (it == values.end()) return std::nullopt;
            return it->second;
        };
        RecordedRequest r;
        r.number = std::stoi(f.filename().string());
        r.method = value("method").value_or("");
        r.path = value("path").value_or("");
        r.remotePort = std::atoi(value("remote_port").value_or("0").c_str());
        r.noDelay = value("tcp_nodelay") == "1";
        r.tlsResumed = value("tls_resumed") == "1";
        r.status = std::atoi(value("status").value_or("0").c_str());
        r.headers = value("headers").value_or("");
        r.body = value("body").value_or("");
        r.fault = value("fault").value_or("");
        r.parsed = value("operation").has_value();
        r.operation = value("operation").value_or("");
        r.usuario = value("usuario").value_or("");
        r.senha = value("senha").value_or("");
        r.cnpj = value("cnpj").value_or("");
        r.categoria = value("categoria").value_or("");
        r.nomeArquivo = value("nome_arquivo");
        r.conteudoArquivo = value("conteudo_arquivo");
        r.envioNormal = value("envio_normal");
        r.protocolo = value("protocolo");
        r.result = value("result").value_or("");
        r.issued = value("issued").value_or("");
        requests.push_back(std::move(r));
    }
    return requests;
}

void LocalService::SetFault(const LocalServiceFault& f) {
    std::string query;
    const auto add = [&](const std::string& name, const std::string& value) {
        query += (query.empty() ? "?" : "&") + name + "=" + value;
    };
    const auto addText = [&](const std::string& name, const std::string& value) {
        const std::unique_ptr<CURL, CurlFree> h(curl_easy_init());
        const std::unique_ptr<char, CurlTextFree> escaped(
            curl_easy_escape(h.get(), value.data(), static_cast<int>(value.size())));
        if (!escaped) throw std::runtime_error("curl_easy_escape failed");
        add(name, escaped.get());
    };
    if (f.status) add("status", std::to_string(*f.status));
    if (f.contentType) addText("content_type", *f.contentType);
    if (f.result) addText("result", *f.result);
    if (f.body) addText("body", *f.body);
    if (f.delay.count() > 0) add("delay_ms", std::to_string(f.delay.count()));
    if (f.dropConnection) add("drop", "1");
    if (f.after > 0) add("after", std::to_string(f.after));
    if (f.count > 0) add("count", std::to_string(f.count));
    if (query.empty()) throw std::invalid_argument("SetFault needs at least one switch; ClearFault switches them off");
    Control(query);
}

void LocalService::ClearFault() { Control(""); }

void LocalService::Control(const std::string& query) const {
    const std::unique_ptr<CURL, CurlFree> h(curl_easy_init());
    if (!h) throw std::runtime_error("curl_easy_init failed");
    const std::string url = "https://127.0.0.1:" + std::to_string(port_) + "/control/fault" + query;
    const std::string ca = caBundle_.string();
    std::string answer;
    curl_easy_setopt(h.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(h.get(), CURLOPT_CAINFO, ca.c_str());
    curl_easy_setopt(h.get(), CURLOPT_POST, 1L);
    curl_easy_setopt(h.get(), CURLOPT_POSTFIELDS, "");
    curl_easy_setopt(h.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h.get(), CURLOPT_TIMEOUT, 30L);
    curl_easy_setopt(h.get(), CURLOPT_WRITEFUNCTION,
                     +[](char* data, std::size_t size, std::size_t count, void* user) -> std::size_t {
                         static_cast<std::string*>(user)->append(data, size * count);
                         return size * count;
                     });
    curl_easy_setopt(h.get(), CURLOPT_WRITEDATA, &answer);
    const CURLcode code = curl_easy_perform(h.get());
    long status = 0;
    curl_easy_getinfo(h.get(), CURLINFO_RESPONSE_CODE, &status);
    if (code != CURLE_OK || status != 200)
        throw std::runtime_error("nfp-servico-local refused the fault switch " + query + ": " +
                                 (code != CURLE_OK ? curl_easy_strerror(code) : answer));
}

} // namespace nfp::test_support
