#include "app/startup.h"

#include <QApplication>
#include <QWidget>

int runVelmorax(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("VELMORAX"));
    w.show();
    return app.exec();
}
