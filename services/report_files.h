#pragma once
// The files a feedback or crash report is made of, in the private temporary
// folder: the member table, the comment file and the module markup file.
// Everything written here is the user's alone (0600) and never written
// through a link planted at its name.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

class TesselModule;

namespace services {

enum ReportMember : unsigned {
    kReportComment = 0x01,
    kReportExceptionReport = 0x02,
    kReportMiniDump = 0x04,
    kReportScreenCapture = 0x08,
    kReportModuleData = 0x10,
    kReportUsageLog = 0x20,
};

struct ReportMemberFile {
    unsigned bit;
    const char* fileName;    // in the temporary folder
    const char* entryName;   // in the zip
};

// In the order the members are added to the zip.
constexpr ReportMemberFile kReportMembers[] = {
    {kReportComment, "Quorbel.cmt", "Quorbel.cmt"},
    {kReportMiniDump, "Quorbel.dmp", "Quorbel.dmp"},
    {kReportExceptionReport, "Quorbel.err", "Quorbel.err"},
    {kReportScreenCapture, "Quorbel.gif", "Quorbel.gif"},
    {kReportUsageLog, "Quorbel.log", "Quorbel.log"},
    {kReportModuleData, "Quorbel.xml", "Module.xml"},
};

constexpr const char* kErrorReportSubject = "Quorbel Error Report";
constexpr const char* kFeedbackSubject = "Quorbel Feedback";

// What the comment's header says about the host and the plug-in.
struct ReportIdentity {
    std::string hostVendor;
    std::string hostProduct;
    int32_t hostVersion = 0;
    std::string pluginVersion;   // as the editor shows it
};

// Creates or empties the file for writing: 0600, never through a link.
FILE* openPrivateFile(const std::string& path);

// The comment file's text: "Subject", "Time" (local time, the offset in
// signed hours as C's `timezone` has it, the zone's name), "Host",
// "Plug-in", "Email" ("(not provided)" when empty), "---", the comment.
std::string commentFileText(const std::string& subject, const std::string& comment, const std::string& email,
                            const ReportIdentity& identity, time_t now);
bool writeTextFile(const std::string& path, const std::string& text);

// The song's markup (no sample audio), written under the song lock (1000 ms);
// false when the lock or the file could not be had.
bool writeModuleMarkup(TesselModule& song, const std::string& path);

} // namespace services
