#include "services/http_transfer.h"

#include "services/curl_global.h"

#include <curl/curl.h>

#include <new>
#include <strings.h>
#include <unistd.h>

namespace services {
namespace {

constexpr int kPollMs = 100;

struct Transfer {
    const TransferLimits& limits;
    const std::atomic<bool>* abort;
    TransferResult result;
};

bool abortRaised(const Transfer& t)
{
    return t.abort && t.abort->load();
}

size_t onReply(char* data, size_t size, size_t count, void* user)
{
    Transfer& t = *static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    const size_t room = t.limits.replyCap - t.result.reply.size();
    const size_t kept = bytes < room ? bytes : room;
    try {
        t.result.reply.append(data, kept);
    } catch (const std::bad_alloc&) {
        // The block is lost; the reply is judged on what arrived.
    }
    if (bytes > room) {
        t.result.pastCap = true;
        if (t.limits.abandonPastCap)
            return 0;   // libcurl ends the transfer with a write error
    }
    return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return abortRaised(*static_cast<Transfer*>(user)) ? 1 : 0;
}

void setCommonOptions(CURL* easy, const std::string& address, Transfer& t)
{
    curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, t.limits.connectSeconds);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, t.limits.totalSeconds);
    if (t.limits.lowSpeedBytes > 0) {
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, t.limits.lowSpeedBytes);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, t.limits.lowSpeedSeconds);
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onReply);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &t);
}

// Runs the transfer through a multi handle so that the abort flag is looked
// at every kPollMs even while the peer sends nothing.
void run(CURL* easy, Transfer& t)
{
    CURLM* multi = curl_multi_init();
    if (!multi)
        return;
    t.result.requested = true;
    curl_multi_add_handle(multi, easy);
    CURLcode code = CURLE_FAILED_INIT;
    for (int running = 1; running;) {
        if (abortRaised(t)) {
            t.result.aborted = true;
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            break;
        if (running && curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr) != CURLM_OK)
            break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            code = message->data.result;
    if (code == CURLE_ABORTED_BY_CALLBACK && abortRaised(t))
        t.result.aborted = true;
    t.result.completed = code == CURLE_OK;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &t.result.status);
    curl_multi_remove_handle(multi, easy);
    curl_multi_cleanup(multi);
}

size_t readFormFile(char* buffer, size_t size, size_t count, void* user)
{
    const FormFile& file = *static_cast<const FormFile*>(user);
    const ssize_t got = ::read(file.descriptor, buffer, size * count);
    return got < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(got);
}

int seekFormFile(void* user, curl_off_t offset, int origin)
{
    const FormFile& file = *static_cast<const FormFile*>(user);
    return ::lseek(file.descriptor, static_cast<off_t>(offset), origin) < 0 ? CURL_SEEKFUNC_FAIL
                                                                             : CURL_SEEKFUNC_OK;
}

} // namespace

bool isWebAddress(const std::string& address)
{
    return strncasecmp(address.c_str(), "http://", 7) == 0 || strncasecmp(address.c_str(), "https://", 8) == 0;
}

TransferResult httpGet(const std::string& address, const TransferLimits& limits, const std::atomic<bool>* abort)
{
    Transfer t{limits, abort, {}};
    CurlGlobal curl;
    if (!isWebAddress(address) || !curl.ready())
        return t.result;
    CURL* easy = curl_easy_init();
    if (!easy)
        return t.result;
    setCommonOptions(easy, address, t);
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    run(easy, t);
    curl_easy_cleanup(easy);
    return t.result;
}

TransferResult httpPostFile(const std::string& address, const TransferLimits& limits, const FormFile& file,
                            const std::atomic<bool>* abort)
{
    Transfer t{limits, abort, {}};
    CurlGlobal curl;
    if (!isWebAddress(address) || !curl.ready() || file.descriptor < 0)
        return t.result;
    CURL* easy = curl_easy_init();
    if (!easy)
        return t.result;
    setCommonOptions(easy, address, t);
    curl_mime* form = curl_mime_init(easy);
    curl_mimepart* part = form ? curl_mime_addpart(form) : nullptr;
    // No "Expect: 100-continue": a peer that never answers it would cost a second.
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");
    if (part && headers) {
        curl_mime_name(part, file.field);
        curl_mime_filename(part, file.fileName);
        curl_mime_type(part, "application/octet-stream");
        curl_mime_data_cb(part, static_cast<curl_off_t>(file.size), readFormFile, seekFormFile, nullptr,
                          const_cast<FormFile*>(&file));
        curl_easy_setopt(easy, CURLOPT_MIMEPOST, form);
        curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
        run(easy, t);
    }
    curl_easy_cleanup(easy);
    curl_mime_free(form);
    curl_slist_free_all(headers);
    return t.result;
}

} // namespace services
