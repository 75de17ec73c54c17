#include "services/crash_report.h"

#include "services/crash_handler.h"
#include "services/process_memory.h"
#include "services/signal_safe_text.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <ucontext.h>
#include <unistd.h>

namespace services {
namespace {

constexpr int kStackWords = 2048;
constexpr int kProcessorType = 8664;   // x86-64
std::atomic<bool> reportWritten{false};
ProcessMap processMap;

struct Registers {
    uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rbp = 0, rsp = 0, rip = 0, flags = 0, error = 0;
    uint16_t cs = 0, fs = 0, gs = 0;
};

Registers registersOf(void* ucontext)
{
    Registers r;
#if defined(__x86_64__)
    if (!ucontext)
        return r;
    const greg_t* g = static_cast<ucontext_t*>(ucontext)->uc_mcontext.gregs;
    r.rax = static_cast<uint64_t>(g[REG_RAX]);
    r.rbx = static_cast<uint64_t>(g[REG_RBX]);
    r.rcx = static_cast<uint64_t>(g[REG_RCX]);
    r.rdx = static_cast<uint64_t>(g[REG_RDX]);
    r.rsi = static_cast<uint64_t>(g[REG_RSI]);
    r.rdi = static_cast<uint64_t>(g[REG_RDI]);
    r.rbp = static_cast<uint64_t>(g[REG_RBP]);
    r.rsp = static_cast<uint64_t>(g[REG_RSP]);
    r.rip = static_cast<uint64_t>(g[REG_RIP]);
    r.flags = static_cast<uint64_t>(g[REG_EFL]);
    r.error = static_cast<uint64_t>(g[REG_ERR]);
    const uint64_t segments = static_cast<uint64_t>(g[REG_CSGSFS]);
    r.cs = static_cast<uint16_t>(segments);
    r.gs = static_cast<uint16_t>(segments >> 16);
    r.fs = static_cast<uint16_t>(segments >> 32);
#else
    (void)ucontext;
#endif
    return r;
}

void addBaseName(SignalSafeText& text, const MemoryRegion& region)
{
    size_t start = 0;
    for (size_t i = 0; i < region.pathLength; ++i)
        if (region.path[i] == '/')
            start = i + 1;
    for (size_t i = start; i < region.pathLength; ++i)
        text.add(region.path[i]);
}

void writeHeadline(SignalSafeText& text, int fd, const CrashContext& c, int signal, siginfo_t* info,
                   const Registers& r)
{
    for (int i = 0; i < 4; ++i)
        text.endLine();
    text.add(exceptionName(signal, info ? info->si_code : 0)).add(" in module ");
    MemoryRegion region;
    if (processMap.find(r.rip, region) && region.pathLength > 0 && region.path[0] == '/')
        addBaseName(text, region);
    else
        text.add("Unknown");
    text.add(" at ").hex(r.cs, 4).add(':').hex(r.rip, 16).add('.').endLine();
    text.add("Error occurred at ").date(static_cast<int64_t>(time(nullptr))).add('.').endLine();
    text.add(c.programPath).add(", run by ").add(c.userName).add('.').endLine();
    text.dec(c.processors).add(" processor(s), type ").dec(kProcessorType).add('.').endLine();
    text.dec(c.memoryMegabytes).add(" MBytes physical memory.").endLine();
    if (signal == SIGSEGV && info) {
        text.add((r.error & 2) ? "Write to" : "Read from")
            .add(" location ")
            .hex(reinterpret_cast<uintptr_t>(info->si_addr), 16)
            .add(" caused an access violation.")
            .endLine();
    }
    text.writeTo(fd);
}

void writeRegisters(SignalSafeText& text, int fd, const Registers& r)
{
    text.endLine().add("Registers:").endLine();
    text.add("RAX=").hex(r.rax, 16).add(" CS=").hex(r.cs, 4).add(" RIP=").hex(r.rip, 16)
        .add(" EFLGS=").hex(r.flags, 8).endLine();
    text.add("RBX=").hex(r.rbx, 16).add(" SS=").hex(0, 4).add(" RSP=").hex(r.rsp, 16)
        .add(" RBP=").hex(r.rbp, 16).endLine();
    text.add("RCX=").hex(r.rcx, 16).add(" DS=").hex(0, 4).add(" RSI=").hex(r.rsi, 16)
        .add(" FS=").hex(r.fs, 4).endLine();
    text.add("RDX=").hex(r.rdx, 16).add(" ES=").hex(0, 4).add(" RDI=").hex(r.rdi, 16)
        .add(" GS=").hex(r.gs, 4).endLine();
    text.add("Bytes at CS:EIP:").endLine();
    for (int i = 0; i < 16; ++i) {
        uint8_t byte;
        if (readProcessMemory(r.rip + static_cast<uint64_t>(i), &byte, 1))
            text.hex(byte, 2).add(' ');
        else
            text.add("?? ");
    }
    text.endLine();
    text.writeTo(fd);
}

void writeStack(SignalSafeText& text, int fd, const Registers& r)
{
    text.endLine().add("Stack dump:").endLine();
    MemoryRegion stack;
    const uintptr_t base = processMap.find(r.rsp, stack) ? stack.end : r.rsp + kStackWords * 4;
    int words = 0;
    for (uintptr_t address = r.rsp; address + 4 <= base && words < kStackWords; address += 4, ++words) {
        uint32_t word;
        if (!readProcessMemory(address, &word, sizeof word)) {
            if (words % 8 != 0)
                text.endLine();
            text.add("Exception encountered during stack dump.").endLine();
            text.writeTo(fd);
            return;
        }
        if (words % 8 == 0)
            text.hex(address, 16).add(": ");
        else
            text.add(' ');
        text.hex(word, 8);
        if (words % 8 == 7)
            text.endLine();
        if (text.size() > 950)
            text.writeTo(fd);
    }
    if (words % 8 != 0)
        text.endLine();
    text.writeTo(fd);
}

void writeModules(SignalSafeText& text, int fd)
{
    text.endLine().add("\tModule list: names, addresses, sizes, time stamps and file times:").endLine();
    text.writeTo(fd);
    size_t cursor = 0;
    MemoryRegion region;
    uintptr_t lastBase = 0;
    while (processMap.next(cursor, region)) {
        if (region.offset != 0 || region.pathLength == 0 || region.path[0] != '/' || region.start <= lastBase)
            continue;
        char path[1024];
        const size_t n = region.pathLength < sizeof path - 1 ? region.pathLength : sizeof path - 1;
        std::memcpy(path, region.path, n);
        path[n] = '\0';
        struct stat info;
        const bool known = stat(path, &info) == 0;
        text.add(path).add(", loaded at 0x").hex(region.start, 16).add(" - ")
            .dec(known ? static_cast<int64_t>(info.st_size) : 0).add(" bytes - ").hex(0, 8);
        if (known)
            text.add(" - file date is ").date(static_cast<int64_t>(info.st_mtime));
        text.endLine();
        text.writeTo(fd);
        lastBase = region.start;
    }
}

bool writeBlock(int fd, const void* data, uint32_t size)
{
    if (write(fd, &size, sizeof size) != static_cast<ssize_t>(sizeof size))
        return false;
    return size == 0 || write(fd, data, size) == static_cast<ssize_t>(size);
}

} // namespace

const char* exceptionName(int signal, int code)
{
    switch (signal) {
    case SIGSEGV:
        return "an Access Violation";
    case SIGBUS:
        return code == BUS_ADRALN ? "a Datatype Misalignment" : "an In Page Error";
    case SIGILL:
        return (code == ILL_PRVOPC || code == ILL_PRVREG) ? "a Privileged Instruction" : "an Illegal Instruction";
    case SIGFPE:
        switch (code) {
        case FPE_INTDIV: return "an Integer Divide by Zero";
        case FPE_INTOVF: return "an Integer Overflow";
        case FPE_FLTDIV: return "a Float Divide by Zero";
        case FPE_FLTOVF: return "a Float Overflow";
        case FPE_FLTUND: return "a Float Underflow";
        case FPE_FLTRES: return "a Float Inexact Result";
        case FPE_FLTINV: return "a Float Invalid Operation";
        case FPE_FLTSUB: return "a Array Bounds Exceeded";
        default: break;
        }
        break;
    default:
        break;
    }
    return "Unknown exception type";
}

void writeExceptionReport(const CrashContext& c, int signal, siginfo_t* info, void* ucontext)
{
    if (reportWritten.exchange(true))
        return;
    const int fd = open(c.reportPath, O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC | O_SYNC, 0600);
    if (fd < 0)
        return;
    processMap.load();
    static SignalSafeText text;
    text.clear();
    const Registers r = registersOf(ucontext);
    writeHeadline(text, fd, c, signal, info, r);
    writeRegisters(text, fd, r);
    writeStack(text, fd, r);
    writeModules(text, fd);
    close(fd);
}

DumpResult writeDump(const char* path, int signal, siginfo_t* info, void* ucontext, int& error)
{
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        return DumpResult::NotCreated;
    }
    static const char kMagic[8] = {'Q', 'B', 'D', 'U', 'M', 'P', '0', '1'};
    bool ok = write(fd, kMagic, sizeof kMagic) == static_cast<ssize_t>(sizeof kMagic);
    const int32_t number = signal;
    ok = ok && write(fd, &number, sizeof number) == static_cast<ssize_t>(sizeof number);
    ok = ok && writeBlock(fd, info, info ? sizeof *info : 0);
    ok = ok && writeBlock(fd, ucontext, ucontext ? sizeof(ucontext_t) : 0);
    processMap.load();   // a dump outside a crash must not show an old map
    ok = ok && writeBlock(fd, processMap.text(), static_cast<uint32_t>(processMap.size()));

    // The stack from the stack pointer to the top of its region, at most 64 KiB.
    const Registers r = registersOf(ucontext);
    MemoryRegion stack;
    uint32_t stackBytes = 0;
    if (processMap.find(r.rsp, stack)) {
        const uint64_t available = stack.end - r.rsp;
        stackBytes = static_cast<uint32_t>(available < 65536 ? available : 65536);
    }
    const uint64_t stackStart = r.rsp;
    ok = ok && write(fd, &stackStart, sizeof stackStart) == static_cast<ssize_t>(sizeof stackStart);
    ok = ok && write(fd, &stackBytes, sizeof stackBytes) == static_cast<ssize_t>(sizeof stackBytes);
    static char chunk[4096];
    for (uint32_t done = 0; ok && done < stackBytes;) {
        const uint32_t n = stackBytes - done < sizeof chunk ? stackBytes - done : static_cast<uint32_t>(sizeof chunk);
        if (!readProcessMemory(stackStart + done, chunk, n))
            std::memset(chunk, 0, n);
        ok = write(fd, chunk, n) == static_cast<ssize_t>(n);
        done += n;
    }
    if (!ok)
        error = errno;
    if (close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    return ok ? DumpResult::Written : DumpResult::NotWritten;
}

} // namespace services
