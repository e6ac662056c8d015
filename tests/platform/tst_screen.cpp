#include "platform/screen.h"
#include "support/testmain.h"

#include <QtTest>

namespace {
class FakeScreen : public ScreenSource
{
public:
    int width = 0;
    qreal dpi = 96;
    int desktopWidth() const override { return width; }
    qreal logicalDpi() const override { return dpi; }
    QPoint cursorPos() const override { return QPoint(7, 9); }
    QColor colorAt(const QPoint &) const override { return QColor(1, 2, 3); }
};
} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

private slots:
    void scaleFactor_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("factor");
        QTest::newRow("unknown") << 0 << 0;
        QTest::newRow("1280") << 1280 << 0;
        QTest::newRow("exactly 1920") << 1920 << 0;
        QTest::newRow("1921") << 1921 << 1;
        QTest::newRow("2560") << 2560 << 1;
        QTest::newRow("3839") << 3839 << 1;
        QTest::newRow("3840") << 3840 << 2;
        QTest::newRow("5120") << 5120 << 2;
        QTest::newRow("5760") << 5760 << 3;
    }

    void scaleFactor()
    {
        QFETCH(int, width);
        QFETCH(int, factor);
        QCOMPARE(screen::scaleFactorForWidth(width), factor);
    }

    void fontFactor_data()
    {
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<float>("factor");
        QTest::newRow("96") << qreal(96) << 1.0f;
        QTest::newRow("120") << qreal(120) << 0.8f;
        QTest::newRow("144") << qreal(144) << 0.6666667f;
        QTest::newRow("192") << qreal(192) << 0.5f;
        QTest::newRow("72") << qreal(72) << 1.3333334f;
        QTest::newRow("zero means unknown") << qreal(0) << 1.0f;
        QTest::newRow("negative means unknown") << qreal(-5) << 1.0f;
    }

    void fontFactor()
    {
        QFETCH(qreal, dpi);
        QFETCH(float, factor);
        QCOMPARE(screen::fontFactorForDpi(dpi), factor);
    }

    void installedSourceAnswersUntilRemoved()
    {
        FakeScreen fake;
        fake.width = 3840;
        fake.dpi = 120;
        screen::setSource(&fake);
        QCOMPARE(screen::desktopWidth(), 3840);
        QCOMPARE(screen::logicalDpi(), qreal(120));
        QCOMPARE(screen::fontFactor(), 0.8f);
        QCOMPARE(screen::cursorPos(), QPoint(7, 9));
        QCOMPARE(screen::colorAt(QPoint()), QColor(1, 2, 3));
        screen::setSource(nullptr);
        QVERIFY(&screen::source() != &fake);
    }

    void systemSourceWithoutDisplayKnowsNoWidth()
    {
        // No application object and no X display: the width is unknown,
        // which means no scale factor is set.
        const QByteArray display = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        QCOMPARE(screen::desktopWidth(), 0);
        QCOMPARE(screen::logicalDpi(), qreal(96));
        if (!display.isEmpty())
            qputenv("DISPLAY", display);
    }
};

int main(int argc, char *argv[])
{
    // Deliberately no application object: the scale factor is decided
    // before one exists.
    TestScreen test;
    return velmoraxtest::exec(&test, argc, argv);
}
#include "tst_screen.moc"
