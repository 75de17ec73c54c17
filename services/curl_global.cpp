#include "services/curl_global.h"

#include <curl/curl.h>

#include <mutex>

namespace services {
namespace {

std::mutex lock;
int count = 0;
bool initialised = false;

} // namespace

CurlGlobal::CurlGlobal()
{
    std::lock_guard<std::mutex> guard(lock);
    if (count++ == 0)
        initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    ready_ = initialised;
}

CurlGlobal::~CurlGlobal()
{
    std::lock_guard<std::mutex> guard(lock);
    if (--count == 0 && initialised) {
        curl_global_cleanup();
        initialised = false;
    }
}

int CurlGlobal::holders()
{
    std::lock_guard<std::mutex> guard(lock);
    return count;
}

} // namespace services
