#include "services/report_files.h"

#include "model/song/module.h"

#include <fcntl.h>
#include <unistd.h>

namespace services {

FILE* openPrivateFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    FILE* file = fdopen(fd, "w");
    if (!file)
        ::close(fd);
    return file;
}

std::string commentFileText(const std::string& subject, const std::string& comment, const std::string& email,
                            const ReportIdentity& identity, time_t now)
{
    tzset();
    tm local{};
    localtime_r(&now, &local);
    char date[64] = {};
    asctime_r(&local, date);
    // C's `timezone` is seconds west of UTC, so a zone east of it is negative.
    const int offsetHours = static_cast<int>(timezone / 3600);

    std::string text;
    char line[1024];
    std::snprintf(line, sizeof line, "Subject: %s\n", subject.c_str());
    text += line;
    std::snprintf(line, sizeof line, "Time: %.24s (%d, %s)\n", date, offsetHours, tzname[0]);
    text += line;
    std::snprintf(line, sizeof line, "Host: %s %s (Version: %d)\n", identity.hostVendor.c_str(),
                  identity.hostProduct.c_str(), identity.hostVersion);
    text += line;
    std::snprintf(line, sizeof line, "Plug-in: Quorbel v%s %s\n", identity.pluginVersion.c_str(), "Std");
    text += line;
    text += "Email: " + (email.empty() ? std::string("(not provided)") : email) + "\n";
    text += "---\n";
    text += comment;
    return text;
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    FILE* file = openPrivateFile(path);
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool writeModuleMarkup(TesselModule& song, const std::string& path)
{
    platform::MutexLock lock(song.songLock(), editLockWaitMs);
    if (!lock)
        return false;
    FILE* file = openPrivateFile(path);
    if (!file)
        return false;
    song.writeXml(file, std::string(), false);
    const bool written = !std::ferror(file);
    return std::fclose(file) == 0 && written;
}

} // namespace services
