#include "app/widgets/myconmbobox.h"
#include "app/widgets/myslider.h"
#include "app/widgets/mytoolbutton.h"
#include "device/mytoolbuttonenter.h"
#include "support/testmain.h"

#include <QSignalSpy>
#include <QtTest>
#include <climits>

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void sliderJumpValue_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("value");
        // Range 50..32000 over 561 pixels, as the DPI slider: truncation,
        // no rounding and no snapping to the step of 50.
        QTest::newRow("left edge") << 0 << 50;
        QTest::newRow("x 1") << 1 << 106;
        QTest::newRow("x 280") << 280 << 15996;
        QTest::newRow("x 560") << 560 << 31943;
    }

    void sliderJumpValue()
    {
        QFETCH(int, x);
        QFETCH(int, value);
        QCOMPARE(MySlider::valueAt(x, 561, 50, 32000), value);

        MySlider slider;
        slider.setOrientation(Qt::Horizontal);
        slider.setRange(50, 32000);
        slider.setSingleStep(50);
        slider.setPageStep(50);
        slider.setTracking(false);
        slider.setFixedSize(561, 25);
        slider.setValue(x == 0 ? 32000 : 50); // so every jump is a change
        QSignalSpy changed(&slider, &QSlider::valueChanged);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 12));
        // The jump is reported at the press, although tracking is off.
        QCOMPARE(slider.value(), value);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).toInt(), value);
        QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 12));
        QCOMPARE(slider.value(), value);
    }

    void sliderValueAtEdgesOfTheRange_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("whole int range, middle") << 1 << 2 << INT_MIN << INT_MAX << 0;
        QTest::newRow("whole int range, right end") << 2 << 2 << INT_MIN << INT_MAX << INT_MAX;
        QTest::newRow("past the right end") << 900 << 561 << 50 << 32000 << 32000;
        QTest::newRow("left of the left end") << -5 << 561 << 50 << 32000 << 50;
        QTest::newRow("no width") << 10 << 0 << 50 << 32000 << 50;
    }

    void sliderValueAtEdgesOfTheRange()
    {
        QFETCH(int, x);
        QFETCH(int, width);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QCOMPARE(MySlider::valueAt(x, width, minimum, maximum), value);
    }

    void sliderJumpsForAnyButton()
    {
        MySlider slider;
        slider.setOrientation(Qt::Horizontal);
        slider.setRange(0, 100);
        slider.setFixedSize(100, 20);
        QTest::mousePress(&slider, Qt::RightButton, Qt::NoModifier, QPoint(75, 10));
        QCOMPARE(slider.value(), 75);
        QCOMPARE(MySlider::valueAt(10, 0, 5, 100), 5); // a zero-width slider divides by nothing
    }

    void comboRemembersIndexAtPress()
    {
        MyConmboBox combo;
        combo.addItems({"a", "b", "c", "d", "e", "f"});
        combo.resize(120, 24);
        QCOMPARE(combo.pressedIndex, 0);
        combo.setCurrentIndex(3);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QTest::mousePress(&combo, Qt::LeftButton, Qt::NoModifier, QPoint(60, 12));
        combo.hidePopup();
        combo.setCurrentIndex(5); // the pick from the popup
        QCOMPARE(combo.pressedIndex, 3);
        // Wheel and keyboard changes do not touch it.
        QWheelEvent wheel(QPointF(60, 12), combo.mapToGlobal(QPoint(60, 12)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&combo, &wheel);
        QTest::keyClick(&combo, Qt::Key_Up);
        QVERIFY(combo.currentIndex() != 5);
        QCOMPARE(combo.pressedIndex, 3);
    }

    void comboDrawsTextCentred()
    {
        MyConmboBox combo;
        combo.addItem(QStringLiteral("I"));
        combo.resize(200, 30);
        combo.setStyleSheet(QStringLiteral("MyConmboBox{background:white;color:black;border:0px;}"));
        const QImage image = combo.grab().toImage();
        // Find the dark text pixels: they sit around the middle of the edit
        // field, not at its left edge.
        int minX = image.width(), maxX = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width() - 40; ++x)
                if (qGray(image.pixel(x, y)) < 100) {
                    minX = qMin(minX, x);
                    maxX = qMax(maxX, x);
                }
        QVERIFY2(maxX >= 0, "no text drawn");
        QVERIFY2(minX > 40, qPrintable(QString::number(minX)));
    }

    void toolButtonActsOnPress_data()
    {
        QTest::addColumn<bool>("startChecked");
        QTest::newRow("unchecked") << false;
        QTest::newRow("already checked") << true;
    }

    void toolButtonActsOnPress()
    {
        QFETCH(bool, startChecked);
        MyToolButton button;
        button.setCheckable(true);
        button.setChecked(startChecked);
        button.resize(164, 22);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        QSignalSpy pressed(&button, &QAbstractButton::pressed);
        QSignalSpy released(&button, &QAbstractButton::released);
        QSignalSpy toggled(&button, &QAbstractButton::toggled);

        QTest::mousePress(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toBool(), false);
        QVERIFY(button.isChecked());
        QCOMPARE(toggled.count(), startChecked ? 0 : 1);
        QTest::mouseRelease(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1); // nothing more at the release
        QCOMPARE(pressed.count(), 0);
        QCOMPARE(released.count(), 0);
        QVERIFY(!button.isDown());

        QTest::mouseDClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.last().at(0).toBool(), true);
        QVERIFY(button.isChecked());
    }

    void toolButtonIgnoresOtherButtons()
    {
        MyToolButton button;
        button.setCheckable(true);
        button.resize(164, 22);
        QSignalSpy clicked(&button, &QAbstractButton::clicked);
        QTest::mousePress(&button, Qt::RightButton);
        QTest::mouseRelease(&button, Qt::RightButton);
        QTest::mouseDClick(&button, Qt::MiddleButton);
        QCOMPARE(clicked.count(), 0);
        QVERIFY(!button.isChecked());
    }

    void enterButtonIndex_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("btn12") << "btn12" << 12;
        QTest::newRow("btn0") << "btn0" << 0;
        QTest::newRow("btn alone") << "btn" << 0;
        QTest::newRow("no number") << "btnx" << 0;
        QTest::newRow("every btn removed") << "btn3btn" << 3;
        QTest::newRow("case-sensitive") << "Btn4" << 0;
    }

    void enterButtonIndex()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QCOMPARE(mytoolButtonEnter::entryIndex(name), index);
    }
};

VELMORAX_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
