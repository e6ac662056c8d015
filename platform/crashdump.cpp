#include "platform/crashdump.h"

#include "platform/userpaths.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <exception>
#include <typeinfo>

#if defined(Q_OS_UNIX)
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/prctl.h>
#endif
#endif

namespace crashdump {

QString fileNameFor(int year, int month, int day, int hour, int minute, int second)
{
    return QString::asprintf("%04d_%02d_%02d_%02d_%02d_%02d.dmp", year, month, day, hour, minute, second);
}

} // namespace crashdump

void CrashDumpHandler::install()
{
    crashdump::install(userDataRoot() + QStringLiteral("/Exception"));
}

#if defined(Q_OS_UNIX)

namespace {

constexpr int kPathMax = 4096;
char dumpFolder[kPathMax]; // NUL-terminated, set by install()
std::atomic<long> utcOffsetSeconds{0};
std::atomic_flag crashing = ATOMIC_FLAG_INIT;
alignas(16) char alternateStack[64 * 1024];

const int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};

// ---- async-signal-safe helpers: no allocation, no locks, no stdio ----

struct Writer
{
    int fd;
    void raw(const char *s, size_t n)
    {
        while (n > 0) {
            const ssize_t w = ::write(fd, s, n);
            if (w <= 0)
                return;
            s += w;
            n -= static_cast<size_t>(w);
        }
    }
    void str(const char *s) { raw(s, std::strlen(s)); }
    void num(unsigned long long v, unsigned base = 10, int minDigits = 1)
    {
        char buf[32];
        int i = 0;
        do {
            const unsigned d = static_cast<unsigned>(v % base);
            buf[i++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
            v /= base;
        } while (v != 0 && i < 30);
        while (i < minDigits && i < 30)
            buf[i++] = '0';
        char out[32];
        for (int k = 0; k < i; ++k)
            out[k] = buf[i - 1 - k];
        raw(out, static_cast<size_t>(i));
    }
    void snum(long long v)
    {
        if (v < 0) {
            str("-");
            num(static_cast<unsigned long long>(-(v + 1)) + 1);
        } else {
            num(static_cast<unsigned long long>(v));
        }
    }
};

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    case SIGTRAP:
        return "SIGTRAP";
    case SIGSYS:
        return "SIGSYS";
    default:
        return "unknown";
    }
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(long long z, int &y, unsigned &m, unsigned &d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}

// Builds "<folder>/<yyyy_MM_dd_hh_mm_ss>.dmp" into out.
bool buildDumpPath(char *out, size_t size)
{
    const size_t folderLen = std::strlen(dumpFolder);
    if (folderLen == 0 || folderLen + 32 >= size)
        return false;
    const long long local = static_cast<long long>(::time(nullptr)) + utcOffsetSeconds.load();
    long long days = local / 86400;
    long long secs = local % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    int year;
    unsigned month, day;
    civilFromDays(days, year, month, day);
    const unsigned fields[] = {static_cast<unsigned>(year),
                               month,
                               day,
                               static_cast<unsigned>(secs / 3600),
                               static_cast<unsigned>(secs / 60 % 60),
                               static_cast<unsigned>(secs % 60)};
    std::memcpy(out, dumpFolder, folderLen);
    size_t pos = folderLen;
    out[pos++] = '/';
    for (int f = 0; f < 6; ++f) {
        const int width = f == 0 ? 4 : 2;
        unsigned v = fields[f];
        for (int k = width - 1; k >= 0; --k) {
            out[pos + static_cast<size_t>(k)] = static_cast<char>('0' + v % 10);
            v /= 10;
        }
        pos += static_cast<size_t>(width);
        out[pos++] = f == 5 ? '.' : '_';
    }
    std::memcpy(out + pos, "dmp", 4);
    return true;
}

void writeReport(int sig, const void *faultAddress, const char *reason)
{
    ::mkdir(dumpFolder, 0755); // one level; an existing folder is fine
    char path[kPathMax + 64];
    if (!buildDumpPath(path, sizeof path))
        return;
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    Writer w{fd};
    w.str("VELMORAX crash report\n");
    w.str("signal: ");
    w.num(static_cast<unsigned>(sig));
    w.str(" (");
    w.str(sig ? signalName(sig) : "none");
    w.str(")\n");
    if (reason) {
        w.str("reason: ");
        w.str(reason);
        w.str("\n");
    }
    if (faultAddress) {
        w.str("address: 0x");
        w.num(reinterpret_cast<unsigned long long>(faultAddress), 16);
        w.str("\n");
    }
    w.str("process: ");
    w.snum(static_cast<long long>(::getpid()));
    w.str("\nthread: ");
#if defined(Q_OS_LINUX)
    w.snum(static_cast<long long>(::syscall(SYS_gettid)));
    char threadName[17] = {};
    if (::prctl(PR_GET_NAME, threadName, 0, 0, 0) == 0) {
        w.str(" (");
        w.str(threadName);
        w.str(")");
    }
#else
    w.str("unknown");
#endif
    w.str("\nbacktrace:\n");
    void *frames[128];
    const int count = ::backtrace(frames, 128);
    ::backtrace_symbols_fd(frames, count, fd);
    ::close(fd);
}

[[noreturn]] void endProcess(int status)
{
    ::_exit(status);
}

void onFatalSignal(int sig, siginfo_t *info, void *)
{
    if (crashing.test_and_set()) {
        // Another thread is writing the report; it ends the process.
        for (;;)
            ::pause();
    }
    const bool addressed = sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL;
    writeReport(sig, addressed && info ? info->si_addr : nullptr, nullptr);
    endProcess(128 + sig);
}

void onTerminate()
{
    if (crashing.test_and_set()) {
        for (;;)
            ::pause();
    }
    // Not a signal context: naming the exception is allowed here.
    const char *reason = "std::terminate";
    char what[256] = "std::terminate: ";
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception &e) {
            std::strncat(what, e.what(), sizeof what - std::strlen(what) - 1);
            reason = what;
        } catch (...) {
            reason = "std::terminate: unknown exception";
        }
    }
    writeReport(0, nullptr, reason);
    endProcess(128 + SIGABRT);
}

} // namespace

namespace crashdump {

void install(const QString &folder)
{
    const QByteArray encoded = QFile::encodeName(folder);
    const size_t len = std::min(static_cast<size_t>(encoded.size()), static_cast<size_t>(kPathMax - 1));
    std::memcpy(dumpFolder, encoded.constData(), len);
    dumpFolder[len] = '\0';

    // The local-time offset is taken now: localtime is not safe in a signal
    // handler.
    const time_t now = ::time(nullptr);
    struct tm local;
    ::localtime_r(&now, &local);
    utcOffsetSeconds.store(local.tm_gmtoff);

    // backtrace() loads its unwinder on first use; do that outside a crash.
    void *warm[4];
    ::backtrace(warm, 4);

    stack_t ss;
    std::memset(&ss, 0, sizeof ss);
    ss.ss_sp = alternateStack;
    ss.ss_size = sizeof alternateStack;
    ::sigaltstack(&ss, nullptr);

    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_sigaction = onFatalSignal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int sig : kFatalSignals)
        ::sigaction(sig, &sa, nullptr);

    std::set_terminate(onTerminate);
}

} // namespace crashdump

#else

namespace crashdump {
void install(const QString &) {}
} // namespace crashdump

#endif
