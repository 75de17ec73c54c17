#include "services/report_sender.h"

#include "platform/status_text.h"
#include "platform/system/folders.h"
#include "services/report_zip.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace services {
namespace {

std::string baseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

TransferResult upload(const std::string& zipPath, const ReportDelivery& delivery)
{
    if (!isWebAddress(delivery.address))
        return {};
    const int fd = ::open(zipPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat info;
    TransferResult result;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) <= delivery.maxZipBytes) {
        const std::string name = baseName(zipPath);
        const FormFile file{"FILE1", name.c_str(), fd, static_cast<uint64_t>(info.st_size)};
        result = httpPostFile(delivery.address, delivery.limits, file);
    }
    ::close(fd);
    return result;
}

} // namespace

ReportResult sendReport(const ReportRequest& request, const ReportDelivery& delivery)
{
    ReportResult result;
    if (request.flags == 0)
        return result;
    const std::string folder = request.folder.empty() ? platform::temporaryFolder() : request.folder;
    if (folder.empty())
        return result;
    const time_t now = delivery.now ? delivery.now : time(nullptr);

    if (request.flags & kReportComment) {
        const std::string text = commentFileText(request.subject, request.comment, request.email,
                                                 delivery.identity, now);
        if (!writeTextFile(platform::joinPath(folder, "Quorbel.cmt"), text))
            return result;
    }
    result.zipPath = createReportZip(folder, reportZipName(request.subject, now));
    if (result.zipPath.empty())
        return result;
    const ReportSources sources{folder, request.usageLogPath, request.capturePath, request.exceptionReportPath,
                                request.dumpPath};
    result.zipped = addReportMembers(result.zipPath, sources, request.flags);
    if (!result.zipped)
        return result;

    result.transfer = upload(result.zipPath, delivery);
    result.sent = result.transfer.succeeded();
    if (result.sent) {
        ::unlink(result.zipPath.c_str());
        platform::setStatusText(kReportSentStatus);
    }
    return result;
}

} // namespace services
