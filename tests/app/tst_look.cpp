// The look module: theme colours and their one fallback, style sheets that
// Qt can parse, and sheets that wait for their widget's first show.

#include "app/look.h"
#include "support/testmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRegularExpression>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

namespace {

QStringList parseWarnings;
QtMessageHandler previousHandler = nullptr;

void recordParseWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("Could not parse")))
        parseWarnings << message;
    previousHandler(type, context, message);
}

} // namespace

class TestLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(recordParseWarnings); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void colourFromList_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QColor>("expected");
        const QColor fallback = look::fallbackColor(look::Role::Label);
        QTest::newRow("three numbers") << QStringList{"200", "210", "220"} << QColor(200, 210, 220);
        QTest::newRow("blanks around numbers") << QStringList{" 1", "2 ", " 3 "} << QColor(1, 2, 3);
        QTest::newRow("extra items ignored") << QStringList{"1", "2", "3", "4"} << QColor(1, 2, 3);
        QTest::newRow("out of range clamped") << QStringList{"-5", "300", "128"} << QColor(0, 255, 128);
        QTest::newRow("missing key") << QStringList{} << fallback;
        QTest::newRow("short list") << QStringList{"1", "2"} << fallback;
        QTest::newRow("not a number") << QStringList{"1", "green", "3"} << fallback;
        QTest::newRow("empty item") << QStringList{"1", "", "3"} << fallback;
    }

    void colourFromList()
    {
        QFETCH(QStringList, items);
        QFETCH(QColor, expected);
        const QColor colour = look::colorFromList(items, look::Role::Label);
        QCOMPARE(colour, expected);
        QCOMPARE(look::rgb(colour),
                 QStringLiteral("rgb(%1,%2,%3)").arg(expected.red()).arg(expected.green()).arg(expected.blue()));
    }

    void everyRoleHasOneReadableFallback()
    {
        // The fallback is the shipped theme: light text on the dark pages,
        // never black on black or white on white.
        const QColor label = look::fallbackColor(look::Role::Label);
        const QColor comboBack = look::fallbackColor(look::Role::ComboBackground);
        QVERIFY(label.lightness() > 150);
        QVERIFY(comboBack.lightness() < 80);
        QVERIFY(look::fallbackColor(look::Role::ComboText).lightness() > 150);
        const QRegularExpression valid(QStringLiteral("^rgb\\(\\d{1,3},\\d{1,3},\\d{1,3}\\)$"));
        for (look::Role role :
             {look::Role::Label, look::Role::Button, look::Role::ComboText, look::Role::ComboSelect,
              look::Role::ComboBackground, look::Role::Slider, look::Role::LineEdit, look::Role::LineEditSecond}) {
            QVERIFY(!look::roleKey(role).isEmpty());
            QCOMPARE(look::colorFromList({}, role), look::fallbackColor(role));
            QVERIFY2(valid.match(look::rgb(role)).hasMatch(), qPrintable(look::rgb(role)));
            QCOMPARE(QStringLiteral("rgb(") + look::rgbNumbers(role) + QLatin1Char(')'), look::rgb(role));
        }
    }

    void buttonImagesFollowTheGeneratorsNames()
    {
        const look::Images all = look::buttonImages(QStringLiteral("Close"), look::Hover | look::Click | look::Checked);
        QCOMPARE(all.normal, QStringLiteral("Close.png"));
        QCOMPARE(all.hover, QStringLiteral("CloseHover.png"));
        QCOMPARE(all.pressed, QStringLiteral("CloseClick.png"));
        QCOMPARE(all.checked, QStringLiteral("CloseChecked.png"));
        const look::Images hoverOnly = look::buttonImages(QStringLiteral("Min"), look::Hover);
        QVERIFY(hoverOnly.pressed.isEmpty() && hoverOnly.checked.isEmpty());

        const QString sheet = look::imageSheet(QStringLiteral("QToolButton"), QStringLiteral("/p/"), all);
        QVERIFY(sheet.contains(QStringLiteral("QToolButton{border:0px;background-position:center;"
                                              "background-repeat:no-repeat;background-image: url(/p/Close.png);}")));
        QVERIFY(sheet.contains(QStringLiteral("QToolButton:hover{background-image: url(/p/CloseHover.png);}")));
        QVERIFY(sheet.contains(QStringLiteral("QToolButton:pressed{background-image: url(/p/CloseClick.png);}")));
        // Checked comes last, so a checked page button keeps its image under the mouse.
        QVERIFY(sheet.endsWith(QStringLiteral("QToolButton:checked{background-image: url(/p/CloseChecked.png);}")));
        QVERIFY(
            look::imageSheet(QStringLiteral("#Title"), QStringLiteral("/p/"), {QStringLiteral("Title.png")},
                             look::Fit::Stretch, look::rgb(QColor(1, 2, 3)))
                .startsWith(QStringLiteral("#Title{border:0px;border-image: url(/p/Title.png);color: rgb(1,2,3);")));
    }

    void sheetsParse_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("sheet");
        const QString dir = look::pictureDir(QStringLiteral("Dialog"));
        QTest::newRow("label colour") << "QLabel" << look::colorSheet(QStringLiteral("QLabel"));
        QTest::newRow("image button") << "QToolButton"
                                      << look::imageSheet(
                                             QStringLiteral("QToolButton"), dir,
                                             {QStringLiteral("Close.png"), QStringLiteral("CloseHover.png"),
                                              QStringLiteral("CloseClick.png"), QStringLiteral("HomeChecked.png")},
                                             look::Fit::Centre, look::rgb(look::Role::Button),
                                             QStringLiteral("padding-left:0px;"));
        QTest::newRow("stretched frame") << "QFrame"
                                         << look::imageSheet(QStringLiteral("#frame"), dir,
                                                             {QStringLiteral("BackGround.png")}, look::Fit::Stretch);
        QTest::newRow("check box") << "QCheckBox"
                                   << look::checkBoxSheet(dir, QStringLiteral("On.png"), QStringLiteral("Off.png"));
        QTest::newRow("combo box") << "QComboBox" << look::comboSheet(dir);
        QTest::newRow("combo list") << "QLabel" << look::comboListSheet();
        QTest::newRow("slider") << "QSlider"
                                << look::sliderSheet(dir, QStringLiteral("Handle.png"), look::Role::Slider, 1);
        QTest::newRow("tab pane") << "QTabWidget" << look::transparentTabSheet();
        QTest::newRow("stage button") << "QToolButton" << look::stageButtonSheet(dir, QStringLiteral("MinA.png"));
        QTest::newRow("stage swatch") << "QToolButton"
                                      << look::stageSwatchSheet(QStringLiteral("#frame"), dir,
                                                                QStringLiteral("MaxB.png"), QStringLiteral("12,34,56"));
        QTest::newRow("unread stage swatch")
            << "QToolButton" << look::stageSwatchSheet(QStringLiteral("QToolButton"), dir, QStringLiteral("MinB.png"));
    }

    void sheetsParse()
    {
        QFETCH(QString, kind);
        QFETCH(QString, sheet);
        QWidget top;
        QWidget *widget = nullptr;
        if (kind == "QLabel")
            widget = new QLabel(QStringLiteral("text"), &top);
        else if (kind == "QToolButton")
            widget = new QToolButton(&top);
        else if (kind == "QFrame")
            widget = new QFrame(&top);
        else if (kind == "QCheckBox")
            widget = new QCheckBox(&top);
        else if (kind == "QComboBox")
            widget = new QComboBox(&top);
        else if (kind == "QSlider")
            widget = new QSlider(Qt::Horizontal, &top);
        else
            widget = new QTabWidget(&top);
        widget->setObjectName(QStringLiteral("frame"));
        parseWarnings.clear();
        look::setSheet(widget, sheet);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QCOMPARE(widget->styleSheet(), sheet);
        top.grab(); // paints every rule once
        QVERIFY2(parseWarnings.isEmpty(), qPrintable(parseWarnings.join('\n')));
        // Qt drops a declaration it cannot read without a word: check the
        // colours and the braces by hand.
        QCOMPARE(sheet.count(QLatin1Char('{')), sheet.count(QLatin1Char('}')));
        const QRegularExpression anyRgb(QStringLiteral("rgb\\([^)]*\\)"));
        const QRegularExpression validRgb(QStringLiteral("^rgb\\(\\d{1,3},\\d{1,3},\\d{1,3}\\)$"));
        for (auto it = anyRgb.globalMatch(sheet); it.hasNext();) {
            const QString colour = it.next().captured();
            QVERIFY2(validRgb.match(colour).hasMatch(), qPrintable(colour));
        }
        if (kind == "QLabel" && sheet.startsWith(QLatin1String("QLabel{color:")))
            QCOMPARE(widget->palette().color(QPalette::WindowText), look::color(look::Role::Label));
    }

    void sheetWaitsForTheFirstShow()
    {
        // A page that is not current in its stack: its images are not
        // needed until the page is opened.
        QWidget window;
        auto *stack = new QStackedWidget(&window);
        auto *shown = new QWidget;
        auto *later = new QWidget;
        stack->addWidget(shown);
        stack->addWidget(later);
        auto *onShown = new QLabel(shown);
        auto *onLater = new QLabel(later);
        const QString first = look::colorSheet(QStringLiteral("QLabel"));
        const QString second = look::imageSheet(QStringLiteral("QLabel"), look::pictureDir(QStringLiteral("Dialog")),
                                                {QStringLiteral("Close.png")});
        look::setSheet(onShown, first);
        look::setSheet(onLater, first);
        look::setSheet(onLater, second); // the last one set wins
        QVERIFY(onShown->styleSheet().isEmpty());
        QCOMPARE(look::sheetOf(onShown), first);

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(onShown->styleSheet(), first);
        QVERIFY(onLater->styleSheet().isEmpty());
        QCOMPARE(look::sheetOf(onLater), second);

        stack->setCurrentWidget(later);
        QCOMPARE(onLater->styleSheet(), second);
        QCOMPARE(look::sheetOf(onLater), second);

        // A visible widget takes a new sheet at once.
        look::setSheet(onLater, first);
        QCOMPARE(onLater->styleSheet(), first);
        look::setSheet(nullptr, first); // nothing to do, no crash
        QCOMPARE(look::sheetOf(nullptr), QString());
    }

    void pictureDirEndsInTheFolder()
    {
        const QString dir = look::pictureDir(QStringLiteral("Dialog"));
        QCOMPARE(dir, QCoreApplication::applicationDirPath() + QStringLiteral("/Picture/Dialog/"));
        QCOMPARE(look::noticePictureDir(), look::pictureDir(QStringLiteral("WarningDialog")));
    }

    // A value box of the summary: 71 pixels wide, 12 points.
    void fitTextShrinksOnlyWhatDoesNotFit()
    {
        QLabel label;
        label.resize(71, 31);
        QFont twelve = label.font();
        twelve.setPointSizeF(12);
        label.setFont(twelve);
        const auto width = [&label] { return QFontMetrics(label.font()).horizontalAdvance(label.text()); };

        label.setText(QStringLiteral("8000Hz"));
        look::fitText(&label);
        QCOMPARE(label.font().pointSizeF(), 12.0);

        label.setText(QStringLiteral("Профиль 1"));
        look::fitText(&label);
        QVERIFY2(width() <= 71, qPrintable(QString::number(width())));
        QVERIFY(label.font().pointSizeF() < 12.0);

        // A short text gets the form's size back.
        label.setText(QStringLiteral("1"));
        look::fitText(&label);
        QCOMPARE(label.font().pointSizeF(), 12.0);

        // No smaller than two thirds, however long the text.
        label.setText(QString(60, QLatin1Char('W')));
        look::fitText(&label);
        QCOMPARE(label.font().pointSizeF(), 8.0);

        // A font set since (the screen's scaling) is the new starting size.
        QFont fourteen = label.font();
        fourteen.setPointSizeF(14);
        label.setFont(fourteen);
        label.setText(QStringLiteral("1"));
        look::fitText(&label);
        QCOMPARE(label.font().pointSizeF(), 14.0);
    }
};

VELMORAX_TEST_MAIN(TestLook)
#include "tst_look.moc"
