#pragma once

#include <QColor>
#include <QPoint>

// What the program asks of the screen. The system source answers from the
// display server (before the application object exists) and from QScreen;
// tests install a source of their own.
class ScreenSource
{
public:
    virtual ~ScreenSource();
    // Width of the whole desktop in physical pixels; 0 when unknown.
    virtual int desktopWidth() const = 0;
    // Logical horizontal dots per inch of the primary screen.
    virtual qreal logicalDpi() const = 0;
    virtual QPoint cursorPos() const = 0;
    virtual QColor colorAt(const QPoint &globalPos) const = 0;
};

namespace screen {

// The source in use: the system one unless a test installed another.
ScreenSource &source();
// Installs a source (not owned); nullptr goes back to the system source.
void setSource(ScreenSource *source);

int desktopWidth();
// Before the application object exists, desktopWidth() reads the width over
// a display connection of its own and keeps that connection open: closing
// it while it is the display server's only client resets the server, and
// the application's own connection then fails. Call this once the
// application object exists; it closes the early connection.
void releaseEarlyDisplay();
qreal logicalDpi();
QPoint cursorPos();
QColor colorAt(const QPoint &globalPos);

// The integer scale factor for a desktop width: width / 1920 for a desktop
// wider than 1920 pixels, otherwise 0 (no factor is set).
int scaleFactorForWidth(int width);

// The factor every form's fonts are multiplied by: 96 / dpi, computed in
// single precision as 1 / (dpi / 96). A dpi that is not positive gives 1.
float fontFactorForDpi(qreal dpi);
// fontFactorForDpi(logicalDpi())
float fontFactor();

} // namespace screen
