// Start-up cost of the program next to a bare Qt Widgets window and next to
// the floor: a bare window that also shows the list page's background
// picture and a line in the program's font, which the program's first frame
// cannot do without.
//
// The three are started in turn, many times, in a private X server. A
// run ends at the first painted frame: the first window that is mapped and
// whose pixels are no longer the server's untouched black. The figures are
// the time from the start of the process to that frame and the process's
// resident memory at that moment; the report gives the medians and the
// program's ratios and differences against the bare window and the floor.
//
//   bench_startup [runs [program]]
//
// runs: how many of each, after one warm-up (default 10); program: another
// build of the program to measure (default: the one beside this tool).
//
// The program runs against the simulated devices with a private home folder.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample
{
    double ms = 0;
    double cpuMs = 0;
    double rssMiB = 0;
};

// CPU time of all of a process's live threads, from the scheduler's
// nanosecond counters: less disturbed by a busy machine than wall time.
double cpuMs(pid_t pid)
{
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task) + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly))
            total += stat.readAll().split(' ').value(0).toDouble() / 1e6;
    }
    return total;
}

double residentMiB(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

class XServer
{
public:
    bool start()
    {
        for (int n = 400 + int(getpid() % 200); n < 700; ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
                || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            display = ":" + std::to_string(n);
            break;
        }
        if (display.empty())
            return false;
        pid = fork();
        if (pid == 0) {
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1600x1000x24", "-nolisten", "tcp", "-noreset",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(QString::fromStdString(display.substr(1)));
        for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        connection = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection))
            return false;
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
        return true;
    }

    ~XServer()
    {
        if (connection)
            xcb_disconnect(connection);
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    // Whether any pixel of a few spread over the window has been painted.
    bool painted(xcb_window_t window, int width, int height)
    {
        const int points[][2] = {{width / 2, height / 2}, {10, 10}, {width - 10, height - 10}};
        for (const auto &p : points) {
            xcb_get_image_cookie_t cookie =
                xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, int16_t(p[0]), int16_t(p[1]), 1, 1, ~0u);
            xcb_get_image_reply_t *reply = xcb_get_image_reply(connection, cookie, nullptr);
            if (!reply)
                continue;
            const uint8_t *data = xcb_get_image_data(reply);
            const int length = xcb_get_image_data_length(reply);
            bool nonBlack = false;
            for (int i = 0; i < length && i < 3; ++i)
                nonBlack = nonBlack || data[i] != 0;
            free(reply);
            if (nonBlack)
                return true;
        }
        return false;
    }

    // Starts `program` and waits for its first painted window.
    bool run(const QString &program, const QString &home, Sample &out)
    {
        // Forget what an earlier run left in the queue.
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
            free(event);
        const Clock::time_point start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            setenv("DISPLAY", display.c_str(), 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            const QByteArray h = home.toLocal8Bit();
            setenv("HOME", h.constData(), 1);
            setenv("XDG_DATA_HOME", (h + "/.local/share").constData(), 1);
            setenv("XDG_CONFIG_HOME", (h + "/.config").constData(), 1);
            setenv("XDG_RUNTIME_DIR", h.constData(), 1);
            const int devNull = open("/dev/null", O_WRONLY);
            dup2(devNull, 1);
            dup2(devNull, 2);
            const QByteArray path = program.toLocal8Bit();
            execl(path.constData(), path.constData(), static_cast<char *>(nullptr));
            _exit(127);
        }
        bool ok = false;
        xcb_window_t window = 0;
        int width = 0, height = 0;
        const Clock::time_point deadline = start + std::chrono::seconds(30);
        while (Clock::now() < deadline) {
            if (!window) {
                xcb_generic_event_t *event = xcb_poll_for_event(connection);
                if (!event) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                    continue;
                }
                if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                    window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                    xcb_get_geometry_reply_t *g =
                        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
                    if (g) {
                        width = g->width;
                        height = g->height;
                        free(g);
                    }
                }
                free(event);
                continue;
            }
            if (painted(window, width, height)) {
                out.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                out.rssMiB = residentMiB(child);
                out.cpuMs = cpuMs(child);
                ok = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        // The next run starts on a quiet server.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return ok;
    }

private:
    std::string display;
    pid_t pid = -1;
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString program = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir + QStringLiteral("/velmorax");
    // The program, the floor (a bare window with the program's background
    // picture and font) and the bare window, in turn.
    struct Measured
    {
        const char *label;
        QString path;
        std::vector<double> ms, cpu, mib;
        double medianMs = 0, medianCpu = 0, medianMiB = 0;
    };
    Measured measured[3] = {{"program", program, {}, {}, {}},
                            {"floor", dir + QStringLiteral("/bench_floor_window"), {}, {}, {}},
                            {"bare window", dir + QStringLiteral("/bench_bare_window"), {}, {}, {}}};
    QTemporaryDir home;
    XServer server;
    if (!home.isValid() || !server.start()) {
        fprintf(stderr, "bench_startup: could not start a private X server (Xvfb)\n");
        return 1;
    }

    Sample sample;
    // Warm-up: the program's first start creates its user folders and the
    // simulator's flash; all of them fill the file cache.
    for (const Measured &m : measured)
        server.run(m.path, home.path(), sample);

    for (int i = 0; i < runs; ++i) {
        for (Measured &m : measured) {
            if (!server.run(m.path, home.path(), sample)) {
                fprintf(stderr, "bench_startup: %s showed no window\n", m.label);
                return 1;
            }
            m.ms.push_back(sample.ms);
            m.cpu.push_back(sample.cpuMs);
            m.mib.push_back(sample.rssMiB);
        }
    }

    printf("start-up to the first painted frame, median of %d runs each\n", runs);
    printf("  %-12s %8s %8s %9s\n", "", "wall", "cpu", "memory");
    for (Measured &m : measured) {
        m.medianMs = median(m.ms);
        m.medianCpu = median(m.cpu);
        m.medianMiB = median(m.mib);
        printf("  %-12s %5.1f ms %5.1f ms %5.1f MiB\n", m.label, m.medianMs, m.medianCpu, m.medianMiB);
    }
    const Measured &p = measured[0];
    for (int i = 2; i >= 1; --i) {
        const Measured &base = measured[i];
        printf("  against the %-11s time %.2fx (cpu %.2fx), memory %.2fx (%+.1f MiB)\n", base.label,
               p.medianMs / base.medianMs, p.medianCpu / base.medianCpu, p.medianMiB / base.medianMiB,
               p.medianMiB - base.medianMiB);
    }
    return 0;
}
