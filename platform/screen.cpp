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
// Reads the width of the X display's root screen without linking the X
// library into the program: the GUI platform plugin is not loaded yet when
// the scale factor has to be decided.
int x11DisplayWidth()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 0;
    void *lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!lib)
        return 0;
    using OpenDisplay = void *(*)(const char *);
    using CloseDisplay = int (*)(void *);
    using DefaultScreen = int (*)(void *);
    using DisplayWidth = int (*)(void *, int);
    auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(lib, "XOpenDisplay"));
    auto closeDisplay = reinterpret_cast<CloseDisplay>(dlsym(lib, "XCloseDisplay"));
    auto defaultScreen = reinterpret_cast<DefaultScreen>(dlsym(lib, "XDefaultScreen"));
    auto displayWidth = reinterpret_cast<DisplayWidth>(dlsym(lib, "XDisplayWidth"));
    int width = 0;
    if (openDisplay && closeDisplay && defaultScreen && displayWidth) {
        if (void *display = openDisplay(nullptr)) {
            width = displayWidth(display, defaultScreen(display));
            closeDisplay(display);
        }
    }
    dlclose(lib);
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

    QPoint cursorPos() const override { return QCursor::pos(); }

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

int desktopWidth() { return source().desktopWidth(); }
qreal logicalDpi() { return source().logicalDpi(); }
QPoint cursorPos() { return source().cursorPos(); }
QColor colorAt(const QPoint &globalPos) { return source().colorAt(globalPos); }

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

float fontFactor()
{
    return fontFactorForDpi(logicalDpi());
}

} // namespace screen
