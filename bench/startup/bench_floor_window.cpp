// The second yardstick of the start-up benchmark: the bare window plus what
// the program's first frame cannot do without, the list page's background
// picture drawn by a style sheet and a line of text in the program's
// Chinese-capable font. The program's cost above this one is its own.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("floor"));
    window.setAttribute(Qt::WA_StyledBackground);
    window.setWindowTitle(QStringLiteral("floor"));
    window.resize(1020, 700);
    const QString picture =
        QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/DialogChange/MainBack.png");
    window.setStyleSheet(QStringLiteral("#floor{border-image: url(%1);}").arg(picture));
    QLabel line(QStringLiteral("Click a device to start"), &window);
    line.setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 14));
    line.setStyleSheet(QStringLiteral("color: #d8dde3;"));
    line.move(400, 500);
    window.show();
    return app.exec();
}
