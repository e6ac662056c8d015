#include "platform/dialogflags.h"

Qt::WindowFlags dialogWindowFlags()
{
#ifdef Q_OS_WIN
    return Qt::SubWindow | Qt::BypassWindowManagerHint | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
           | Qt::WindowMinimizeButtonHint;
#else
    return Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
#endif
}
