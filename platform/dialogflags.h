#pragma once

#include <Qt>

// Window flags of the program's frameless dialogs and notices. On Windows
// they are a frameless sub-window that bypasses the window manager; on X11
// such a window never receives keyboard focus, so elsewhere a frameless
// Qt::Dialog is used instead.
Qt::WindowFlags dialogWindowFlags();
