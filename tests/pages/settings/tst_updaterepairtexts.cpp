// The update and repair dialog's texts fit their labels in every language:
// the message label, which during a flash shows the warning above the
// progress bar, shows every message in full and never runs under the bar or
// the buttons.

#include "support/testmain.h"

#include "app/textcatalogue.h"
#include "pages/settings/updaterepair.h"
#include "platform/fonts.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include <memory>

class TestUpdateRepairTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The stand-in fonts the program installs at start-up.
        fonts::installSubstitutions();
        loadTextCatalogue();
    }
    void messagesFit_data();
    void messagesFit();
};

void TestUpdateRepairTexts::messagesFit_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    const QList<QPair<const char *, const char *>> messages = {{"home", "WarnUpdate"},
                                                               {"home", "ReadyUpdate"},
                                                               {"home", "NotDevice"},
                                                               {"home", "SameDevice"},
                                                               {"home", "NoRecieve"},
                                                               {"home", "NoUSB"},
                                                               {"home", "ErrorFile"},
                                                               {"home", "MultiDongle"},
                                                               {"home", "MultiMouse"},
                                                               {"update", "DialogUpgradeFail"},
                                                               {"update", "DialogUpgradeSuccess"}};
    for (int language : {0, 1, 2}) {
        QTest::addRow("notice, language %d", language) << language << "ToolText"
                                                       << "home"
                                                       << "WarnUpdate";
        for (const auto &m : messages)
            QTest::addRow("%s, language %d", m.second, language)
                << language << "ToolText_2" << QString::fromLatin1(m.first) << QString::fromLatin1(m.second);
    }
}

void TestUpdateRepairTexts::messagesFit()
{
    QFETCH(int, language);
    QFETCH(QString, label);
    QFETCH(QString, section);
    QFETCH(QString, key);

    UpDateRepair dialog;
    dialog.SlotAllLanguage(language);
    auto *shown = dialog.findChild<QLabel *>(label);
    const QString text = catalogueText(section, key, language);
    QVERIFY(!text.isEmpty());
    shown->setText(text);
    const QRect room = shown->contentsRect();
    const QRect needed =
        shown->fontMetrics().boundingRect(room, int(shown->alignment()) | Qt::TextWordWrap, shown->text());
    QVERIFY2(needed.height() <= room.height(),
             qPrintable(QStringLiteral("%1 needs %2 px, has %3").arg(text).arg(needed.height()).arg(room.height())));
    QVERIFY2(needed.width() <= room.width(), qPrintable(text));

    // Nothing below or above the labels overlaps them.
    const QRect notice = dialog.findChild<QLabel *>(QStringLiteral("ToolText"))->geometry();
    const QRect message = dialog.findChild<QLabel *>(QStringLiteral("ToolText_2"))->geometry();
    const QRect bar = dialog.findChild<QProgressBar *>(QStringLiteral("progressBar_2"))->geometry();
    const QRect buttons = dialog.findChild<QToolButton *>(QStringLiteral("NewHong_2"))->geometry();
    QVERIFY(!notice.intersects(message));
    QVERIFY(!message.intersects(bar));
    QVERIFY(!bar.intersects(buttons));
}

VELMORAX_TEST_MAIN(TestUpdateRepairTexts)
#include "tst_updaterepairtexts.moc"
