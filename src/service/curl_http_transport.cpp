#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include "service/curl_failure_kind.h"
#include "service/http_transport.h"

namespace nfp {
namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* h) const noexcept { curl_easy_cleanup(h); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const noexcept { curl_slist_free_all(l); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

struct Exchange {
    const HttpPostRequest* request = nullptr;
    std::size_t sent = 0;
    std::exception_ptr handlerError;
    HttpReply reply;
    // Bytes moved in either direction, and when that last changed.
    curl_off_t moved = 0;
    std::chrono::steady_clock::time_point lastMove = std::chrono::steady_clock::now();
    bool stalled = false;
};

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& ex = *static_cast<Exchange*>(user);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        // A new status line (after a 100 Continue, say): the final one counts.
        ex.reply.reasonPhrase.clear();
        ex.reply.contentType.clear();
        const auto firstSpace = line.find(' ');
        if (firstSpace != std::string_view::npos) {
            const auto secondSpace = line.find(' ', firstSpace + 1);
            if (secondSpace != std::string_view::npos) ex.reply.reasonPhrase = Trim(line.substr(secondSpace + 1));
        }
    } else if (StartsWithNoCase(line, "content-type:")) {
        ex.reply.contentType = Trim(line.substr(std::strlen("content-type:")));
    }
    return size * count;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& ex = *static_cast<Exchange*>(user);
    ex.reply.body.append(data, size * count);
    return size * count;
}

std::size_t OnRead(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto& ex = *static_cast<Exchange*>(user);
    const std::string_view body = ex.request->body;
    const std::size_t room = std::min(size * count, ex.request->largestPiece);
    const std::size_t piece = std::min(room, body.size() - ex.sent);
    if (piece == 0) return 0;
    std::memcpy(buffer, body.data() + ex.sent, piece);
    ex.sent += piece;
    if (ex.request->onPiece) {
        try {
            ex.request->onPiece(static_cast<std::int64_t>(ex.sent), static_cast<std::int64_t>(body.size()));
        } catch (...) {
            ex.handlerError = std::current_exception();
            return CURL_READFUNC_ABORT;
        }
    }
    return piece;
}

// libcurl's own low-speed limit averages over a window of seconds, so a
// stall right after the upload is noticed late; this counts from the last
// byte that moved.
int OnProgress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t uploaded) {
    auto& ex = *static_cast<Exchange*>(user);
    const auto now = std::chrono::steady_clock::now();
    if (received + uploaded != ex.moved) {
        ex.moved = received + uploaded;
        ex.lastMove = now;
        return 0;
    }
    if (now - ex.lastMove >= ex.request->stallTimeout) {
        ex.stalled = true;
        return 1;
    }
    return 0;
}

// One handle for the transport's life, reset after each request: every
// request still opens a fresh connection and closes it (FRESH_CONNECT,
// FORBID_REUSE), but what does not depend on the connection is kept:
// libcurl's cached CA store (read once, not per handshake) and the TLS
// session of the last handshake, resumed by the next one.
class CurlHttpTransport final : public HttpTransport {
public:
    HttpReply Post(const HttpPostRequest& request) override {
        InitCurlOnce();
        if (!easy_) {
            easy_.reset(curl_easy_init());
            if (!easy_) throw HttpTransportFailure(TransportFailureKind::Other, "Out of memory");
        }
        CURL* h = easy_.get();

        Exchange ex;
        ex.request = &request;
        char errorText[CURL_ERROR_SIZE] = {};

        HeaderList headers;
        const auto addHeader = [&](const std::string& line) {
            curl_slist* head = curl_slist_append(headers.get(), line.c_str());
            if (!head) throw HttpTransportFailure(TransportFailureKind::Other, "Out of memory");
            (void)headers.release(); // the same list, now one line longer
            headers.reset(head);
        };
        // The handle refers to the buffers of this call only while it lasts.
        const struct ResetAfter {
            CURL* handle;
            ~ResetAfter() { curl_easy_reset(handle); }
        } resetAfter{h};
        for (const auto& line : request.headers) addHeader(line);
        // The client sends what the exchange needs and nothing it was not asked for.
        addHeader("Accept:");
        addHeader("Expect:");

        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
        if (request.caBundle) {
            curl_easy_setopt(h, CURLOPT_CAINFO, request.caBundle->c_str());
            curl_easy_setopt(h, CURLOPT_CAPATH, nullptr);
        }
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(request.connectTimeout.count()));
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, &ex);

        // The length is always announced (Content-Length); a large body is
        // handed over piece by piece through the read callback.
        if (request.body.size() <= request.largestPiece) {
            curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        } else {
            curl_easy_setopt(h, CURLOPT_READFUNCTION, &OnRead);
            curl_easy_setopt(h, CURLOPT_READDATA, &ex);
        }
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
        curl_easy_setopt(h, CURLOPT_HEADERDATA, &ex);
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &ex);

        const CURLcode code = curl_easy_perform(h);
        if (ex.handlerError) std::rethrow_exception(ex.handlerError);
        if (ex.stalled) {
            throw HttpTransportFailure(TransportFailureKind::TimedOut,
                                       "Operation timed out: no data moved for " +
                                           std::to_string(request.stallTimeout.count()) + " s");
        }
        if (code != CURLE_OK) {
            // A proxy that refuses the tunnel (407 asking for credentials,
            // say) answered with a status: that is a status, not a broken
            // connection. Its status line came through OnHeader.
            long connectStatus = 0;
            curl_easy_getinfo(h, CURLINFO_HTTP_CONNECTCODE, &connectStatus);
            if (connectStatus >= 300) {
                ex.reply.status = static_cast<int>(connectStatus);
                return std::move(ex.reply);
            }
            const std::string text = errorText[0] != '\0' ? Trim(errorText) : curl_easy_strerror(code);
            long osErrno = 0;
            curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &osErrno);
            throw HttpTransportFailure(ClassifyCurlFailure(code, osErrno, text), text);
        }
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        ex.reply.status = static_cast<int>(status);
        return std::move(ex.reply);
    }

private:
    EasyHandle easy_;
};

} // namespace

std::unique_ptr<HttpTransport> MakeCurlHttpTransport() {
    return std::make_unique<CurlHttpTransport>();
}

} // namespace nfp
