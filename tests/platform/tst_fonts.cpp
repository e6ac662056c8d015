#include "platform/dialogflags.h"
#include "platform/fonts.h"
#include "support/testmain.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QtTest>

class TestFonts : public QObject
{
    Q_OBJECT

private slots:
    void substitutes_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("expected");
        const QStringList debian = {"DejaVu Sans", "Noto Sans CJK SC", "Nimbus Sans", "Droid Sans Fallback"};
        QTest::newRow("Chinese UI font -> CJK first")
            << QString::fromUtf8("微软雅黑") << debian
            << QStringList{"Noto Sans CJK SC", "Droid Sans Fallback", "DejaVu Sans"};
        QTest::newRow("Latin name of the same font")
            << "Microsoft YaHei" << debian << QStringList{"Noto Sans CJK SC", "Droid Sans Fallback", "DejaVu Sans"};
        QTest::newRow("Latin font -> metric-compatible first")
            << "Arial" << debian << QStringList{"Nimbus Sans", "DejaVu Sans", "Noto Sans CJK SC"};
        QTest::newRow("installed family needs nothing")
            << "Arial" << QStringList{"Arial", "DejaVu Sans"} << QStringList{};
        QTest::newRow("case-insensitive installed match") << "arial" << QStringList{"Arial"} << QStringList{};
        QTest::newRow("nothing suitable installed")
            << QString::fromUtf8("宋体") << QStringList{"Courier"} << QStringList{};
        QTest::newRow("only DejaVu") << QString::fromUtf8("宋体") << QStringList{"DejaVu Sans"}
                                     << QStringList{"DejaVu Sans"};
    }

    void substitutes()
    {
        QFETCH(QString, family);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, expected);
        QCOMPARE(fonts::substitutesFor(family, installed), expected);
    }

    void installedSubstitutionsCoverChineseAndCyrillic()
    {
        fonts::installSubstitutions();
        const QStringList subs = QFont::substitutes(QString::fromUtf8("微软雅黑"));
        const QStringList installed = QFontDatabase().families();
        if (installed.contains(QString::fromUtf8("微软雅黑")))
            QSKIP("the design font itself is installed");
        QVERIFY(!subs.isEmpty());
        QFontDatabase db;
        const QString first = subs.first();
        QVERIFY2(installed.contains(first, Qt::CaseInsensitive), qPrintable(subs.join(',')));
        // The first stand-in can write both scripts the catalogue uses.
        QVERIFY2(db.writingSystems(first).contains(QFontDatabase::SimplifiedChinese), qPrintable(first));
        QVERIFY2(db.writingSystems(first).contains(QFontDatabase::Cyrillic), qPrintable(first));
    }

    void dialogsTakeKeyboardFocusOnX11()
    {
        const Qt::WindowFlags flags = dialogWindowFlags();
        QVERIFY(flags & Qt::FramelessWindowHint);
#ifndef Q_OS_WIN
        QVERIFY(!(flags & Qt::BypassWindowManagerHint));
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
#endif
    }
};

VELMORAX_TEST_MAIN(TestFonts)
#include "tst_fonts.moc"
