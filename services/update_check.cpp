#include "services/update_check.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace services {
namespace {

// A decimal number starting at `at`; advances past it.
bool readNumber(const char*& at, int& value)
{
    if (!std::isdigit(static_cast<unsigned char>(*at)))
        return false;   // strtol would also take signs and blanks
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(at, &end, 10);
    if (errno == ERANGE || n > INT_MAX)
        return false;
    value = static_cast<int>(n);
    at = end;
    return true;
}

bool readText(const char*& at, const char* text)
{
    for (; *text; ++text, ++at)
        if (*at != *text)
            return false;
    return true;
}

} // namespace

bool parseVersionReply(const std::string& reply, int (&numbers)[4])
{
    int read[4] = {};
    const char* at = reply.c_str();
    const bool ok = readText(at, "s,") && readNumber(at, read[0]) && readText(at, ",") && readNumber(at, read[1]) &&
                    readText(at, ",p,") && readNumber(at, read[2]) && readText(at, ",") && readNumber(at, read[3]);
    if (!ok)
        return false;
    while (std::isspace(static_cast<unsigned char>(*at)))
        ++at;
    // A zero byte inside the reply ends the C string early: count it as garbage.
    if (*at != '\0' || static_cast<size_t>(at - reply.c_str()) != reply.size())
        return false;
    for (int i = 0; i < 4; ++i)
        numbers[i] = read[i];
    return true;
}

bool isNewerVersion(int published, float programVersion)
{
    return published > static_cast<int>((programVersion + 0.0001) * 1000.0);
}

UpdateCheck::UpdateCheck(float programVersion, std::string address, TransferLimits limits)
    : version_(programVersion)
{
    if (programVersion == 0.0f || !isWebAddress(address) || !curl_.ready())
        return;
    started_ = true;
    thread_ = std::thread([this, address = std::move(address), limits] { run(address, limits); });
}

UpdateCheck::~UpdateCheck()
{
    abort_.store(true);
    if (thread_.joinable())
        thread_.join();
}

void UpdateCheck::wait()
{
    if (thread_.joinable())
        thread_.join();
}

void UpdateCheck::run(std::string address, TransferLimits limits)
{
    result_ = httpGet(address, limits, &abort_);
    int numbers[4] = {};
    if (result_.completed && result_.status == 200 && !result_.pastCap && parseVersionReply(result_.reply, numbers) &&
        isNewerVersion(numbers[1], version_))
        available_.store(true);
}

} // namespace services
