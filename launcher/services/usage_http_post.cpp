#include "launcher/services/usage_http_post.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace usage {
namespace {

struct BodyCursor {
    const char* next;
    size_t left;
};

struct ResponseSink {
    std::string* data;
    bool tooLarge = false;
};

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

size_t ReadBodyCallback(char* buffer, size_t size, size_t count, void* state) {
    auto* cursor = static_cast<BodyCursor*>(state);
    const size_t room = size * count;
    if (room == 0 || cursor->left == 0) return 0;
    const size_t chunk = room < cursor->left ? room : cursor->left;
    std::memcpy(buffer, cursor->next, chunk);
    cursor->next += chunk;
    cursor->left -= chunk;
    return chunk;
}

size_t WriteResponseCallback(char* data, size_t size, size_t count, void* state) {
    auto* sink = static_cast<ResponseSink*>(state);
    const size_t bytes = size * count;
    if (sink->data->size() + bytes > kMaxResponseBytes) {
        sink->tooLarge = true;
        return 0;  // aborts the transfer
    }
    try {
        sink->data->append(data, bytes);
    } catch (const std::bad_alloc&) {
        std::printf("not enough memory (realloc returned NULL)\n");
        return 0;
    }
    return bytes;
}

}  // namespace

size_t HttpPostForm(const std::string& url, const std::string& body, std::string& response) {
    response.clear();
    if (url.empty() || body.empty()) return 0;
    std::unique_ptr<CURL, EasyCleanup> easy(curl_easy_init());
    if (!easy) return 0;
    BodyCursor cursor{body.data(), body.size()};
    ResponseSink sink{&response};
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT, kRequestTimeoutSeconds);
    curl_easy_setopt(easy.get(), CURLOPT_POST, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_READFUNCTION, ReadBodyCallback);
    curl_easy_setopt(easy.get(), CURLOPT_READDATA, &cursor);
    curl_easy_setopt(easy.get(), CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, WriteResponseCallback);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &sink);
    // The worker is an ordinary thread: no signals for the time-out.
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    const CURLcode result = curl_easy_perform(easy.get());
    easy.reset();
    if (result != CURLE_OK) {
        if (sink.tooLarge)
            std::fprintf(stderr, "curl_easy_perform() failed: response larger than %u bytes\n",
                         static_cast<unsigned>(kMaxResponseBytes));
        else
            std::fprintf(stderr, "curl_easy_perform() failed: %s\n", curl_easy_strerror(result));
        response.clear();
        return 0;
    }
    return response.size();
}

}  // namespace usage
