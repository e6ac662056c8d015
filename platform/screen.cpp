#include "platform/screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QtGlobal>

#include <atomic>

#if defined(Q_OS_UNIX)
#include <dlfcn.h>
#endif

ScreenSource::~ScreenSource() = default;

namespace {

#if defined(Q_OS_UNIX)
// The display connection opened to read the desktop width before the
// application object exists. It stays open until the application has its
// own connection: when ours were the server's only client, closing it would
// make the server reset, and the application's connection attempt during
// that reset fails.
struct EarlyDisplay
{
    void *lib = nullptr;
    void *display = nullptr;
    int (*close)(void *) = nullptr;
};

EarlyDisplay &earlyDisplay()
{
    static EarlyDisplay early;
    return early;
}

// Reads the width of the X display's root screen without linking the X
// library into the program: the GUI platform plugin is not loaded yet when
// the scale factor has to be decided.
int x11DisplayWidth()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 0;
    EarlyDisplay &early = earlyDisplay();
    if (!early.lib)
        early.lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!early.lib)
        return 0;
    using OpenDisplay = void *(*)(const char *);
    using CloseDisplay = int (*)(void *);
    using DefaultScreen = int (*)(void *);
    using DisplayWidth = int (*)(void *, int);
    auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(early.lib, "XOpenDisplay"));
    auto closeDisplay = reinterpret_cast<CloseDisplay>(dlsym(early.lib, "XCloseDisplay"));
    auto defaultScreen = reinterpret_cast<DefaultScreen>(dlsym(early.lib, "XDefaultScreen"));
    auto displayWidth = reinterpret_cast<DisplayWidth>(dlsym(early.lib, "XDisplayWidth"));
    if (!openDisplay || !closeDisplay || !defaultScreen || !displayWidth)
        return 0;
    if (!early.display) {
        early.display = openDisplay(nullptr);
        early.close = closeDisplay;
    }
    if (!early.display)
        return 0;
    const int width = displayWidth(early.display, defaultScreen(early.display));
    return width > 0 ? width : 0;
}
#endif

class SystemScreen : public ScreenSource
{
public:
    int desktopWidth() const override
    {
        if (qGuiApp) {
            if (QScreen *s = QGuiApplication::primaryScreen())
                return qRound(s->virtualGeometry().width() * s->devicePixelRatio());
            return 0;
        }
#if defined(Q_OS_UNIX)
        return x11DisplayWidth();
#else
        return 0;
#endif
    }

    qreal logicalDpi() const override
    {
        if (qGuiApp) {
            if (QScreen *s = QGuiApplication::primaryScreen())
                return s->logicalDotsPerInchX();
        }
        return 96.0;
    }

    QPoint cursorPos() const override
    {
        return QCursor::pos();
    }

    QColor colorAt(const QPoint &globalPos) const override
    {
        if (!qGuiApp)
            return QColor();
        QScreen *s = QGuiApplication::screenAt(globalPos);
        if (!s)
            s = QGuiApplication::primaryScreen();
        if (!s)
            return QColor();
        const QPoint local = globalPos - s->geometry().topLeft();
        const QImage image = s->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
        if (image.isNull())
            return QColor();
        return image.pixelColor(0, 0);
    }
};

SystemScreen &systemScreen()
{
    static SystemScreen instance;
    return instance;
}

std::atomic<ScreenSource *> installed{nullptr};

} // namespace

namespace screen {

ScreenSource &source()
{
    ScreenSource *s = installed.load();
    return s ? *s : systemScreen();
}

void setSource(ScreenSource *s)
{
    installed.store(s);
}

int desktopWidth()
{
    return source().desktopWidth();
}
qreal logicalDpi()
{
    return source().logicalDpi();
}
QPoint cursorPos()
{
    return source().cursorPos();
}
QColor colorAt(const QPoint &globalPos)
{
    return source().colorAt(globalPos);
}

int scaleFactorForWidth(int width)
{
    return width > 1920 ? width / 1920 : 0;
}

float fontFactorForDpi(qreal dpi)
{
    if (!(dpi > 0))
        return 1.0f;
    return 1.0f / (static_cast<float>(dpi) / 96.0f);
}

void releaseEarlyDisplay()
{
#if defined(Q_OS_UNIX)
    EarlyDisplay &early = earlyDisplay();
    if (early.display && early.close)
        early.close(early.display);
    early.display = nullptr;
    if (early.lib)
        dlclose(early.lib);
    early.lib = nullptr;
#endif
}

float fontFactor()
{
    return fontFactorForDpi(logicalDpi());
}

} // namespace screen
