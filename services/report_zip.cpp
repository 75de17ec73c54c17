#include "services/report_zip.h"

#include "model/zip/zip_helpers.h"
#include "platform/system/folders.h"
#include "platform/system/process_files.h"
#include "services/report_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace services {
namespace {

constexpr int kNameTries = 1000;

// The end record of an archive without entries: minizip then writes the
// archive anew into the file made here instead of appending to it.
constexpr unsigned char kEmptyArchive[22] = {'P', 'K', 5, 6};

bool isReadableFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

} // namespace

std::string reportZipName(const std::string& subject, time_t now)
{
    tm utc{};
    gmtime_r(&now, &utc);
    char name[64];
    std::snprintf(name, sizeof name, "%s_%04d%02d%02d-%02d%02d%02d", subject == kErrorReportSubject ? "QBe" : "QBc",
                  utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return name;
}

std::string createReportZip(const std::string& folder, const std::string& name)
{
    for (int n = 1; n <= kNameTries; ++n) {
        const std::string path = platform::joinPath(folder, n == 1 ? name : name + "-" + std::to_string(n));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        const bool written = ::write(fd, kEmptyArchive, sizeof kEmptyArchive) == sizeof kEmptyArchive;
        if (::close(fd) == 0 && written)
            return path;
        ::unlink(path.c_str());
        return {};
    }
    return {};
}

std::string ReportSources::pathOf(unsigned bit, const char* fileName) const
{
    // This process's own log unless another is named (a crash's).
    if (bit == kReportUsageLog)
        return usageLog.empty() ? platform::joinPath(folder, platform::processFileName(getpid(), ".log")) : usageLog;
    if (bit == kReportScreenCapture && !capture.empty())
        return capture;
    if (bit == kReportExceptionReport && !exceptionReport.empty())
        return exceptionReport;
    if (bit == kReportMiniDump && !dump.empty())
        return dump;
    return platform::joinPath(folder, fileName);
}

bool addReportMembers(const std::string& zipPath, const ReportSources& sources, unsigned flags)
{
    for (const ReportMemberFile& member : kReportMembers) {
        if (!(flags & member.bit))
            continue;
        const std::string path = sources.pathOf(member.bit, member.fileName);
        if (!isReadableFile(path))
            continue;   // a missing member is left out without a word
        if (!zipAddFile(path.c_str(), zipPath.c_str(), member.entryName))
            return false;
        ::unlink(path.c_str());
    }
    return true;
}

} // namespace services
