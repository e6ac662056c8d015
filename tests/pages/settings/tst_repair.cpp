// The re-pair question: the answer it records, its texts and its fonts.

#include "app/postmsg.h"
#include "app/textcatalogue.h"
#include "pages/settings/repair.h"
#include "platform/screen.h"
#include "support/testmain.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>

namespace {

class FixedDpi : public ScreenSource
{
public:
    explicit FixedDpi(qreal dpi) : dpi(dpi) {}
    int desktopWidth() const override { return 1920; }
    qreal logicalDpi() const override { return dpi; }
    QPoint cursorPos() const override { return {}; }
    QColor colorAt(const QPoint &) const override { return {}; }
    qreal dpi;
};

} // namespace

class TestRePair : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { loadTextCatalogue(); }
    void cleanup()
    {
        screen::setSource(nullptr);
        languageIndex = 0;
    }
    void answer_data();
    void answer();
    void texts_data();
    void texts();
    void fontsFollowTheScreenDpi_data();
    void fontsFollowTheScreenDpi();
};

void TestRePair::answer_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("OK") << "OK" << false << true;
    QTest::newRow("Cancel") << "Cancel" << true << false;
    QTest::newRow("close button") << "CloseButton" << true << false;
    QTest::newRow("Escape") << "Escape" << false << false;
    // Return confirms, as on every notice with an OK button, also after a
    // language change has given the buttons new texts.
    QTest::newRow("Return") << "Return" << false << true;
    QTest::newRow("Return after a language change") << "Return language" << false << true;
}

void TestRePair::answer()
{
    QFETCH(QString, how);
    QFETCH(bool, before);
    QFETCH(bool, accepted);

    RePair dialog(nullptr);
    QVERIFY(!dialog.accepted);
    dialog.accepted = before;
    if (how.endsWith("language"))
        emit PostMsg::instance()->SigAllLanguage(2);
    QTimer::singleShot(0, &dialog, [&] {
        if (how == "Escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (how.startsWith("Return")) {
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClick(&dialog, Qt::Key_Return);
        } else
            QTest::mouseClick(dialog.findChild<QToolButton *>(how), Qt::LeftButton);
    });
    QTimer::singleShot(3000, &dialog, &QDialog::reject); // never hang
    dialog.exec();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.accepted, accepted);
}

void TestRePair::texts_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("English") << 0;
    QTest::newRow("Chinese") << 1;
    QTest::newRow("Russian") << 2;
}

void TestRePair::texts()
{
    QFETCH(int, language);
    languageIndex = language;
    RePair dialog(nullptr);
    auto *label = dialog.findChild<QLabel *>("label");
    const QString question = catalogueText("home", "Repair", language);
    QVERIFY(!question.isEmpty());
    QCOMPARE(label->text(), question);
    QCOMPARE(dialog.findChild<QToolButton *>("OK")->text(), catalogueText("common", "OK", language));
    QCOMPARE(dialog.findChild<QToolButton *>("Cancel")->text(), catalogueText("common", "Cancel", language));

    // A language change while it is open re-texts it.
    const int other = (language + 1) % 3;
    emit PostMsg::instance()->SigAllLanguage(other);
    QCOMPARE(label->text(), catalogueText("home", "Repair", other));
}

void TestRePair::fontsFollowTheScreenDpi_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<qreal>("labelPoints");
    QTest::newRow("96 dpi") << 96.0 << 11.0;
    QTest::newRow("120 dpi") << 120.0 << 8.8;
    QTest::newRow("144 dpi") << 144.0 << 11.0 * 96.0 / 144.0;
}

void TestRePair::fontsFollowTheScreenDpi()
{
    QFETCH(qreal, dpi);
    QFETCH(qreal, labelPoints);
    FixedDpi source(dpi);
    screen::setSource(&source);
    RePair dialog(nullptr);
    QVERIFY(qAbs(dialog.findChild<QLabel *>("label")->font().pointSizeF() - labelPoints) < 0.01);
    QVERIFY(qAbs(dialog.findChild<QToolButton *>("OK")->font().pointSizeF() - labelPoints) < 0.01);
}

VELMORAX_TEST_MAIN(TestRePair)
#include "tst_repair.moc"
