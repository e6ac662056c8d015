// Send or restore with real widgets: a refused change puts the control back
// without a second change signal; a sent one leaves it alone.

#include "device/pagelink.h"
#include "support/testmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

class SendOrRestoreTest : public QObject
{
    Q_OBJECT

private slots:
    void memberSetterForm_data()
    {
        QTest::addColumn<bool>("sent");
        QTest::newRow("sent: the new value stays") << true;
        QTest::newRow("refused: back to what the mouse holds") << false;
    }
    void memberSetterForm()
    {
        QFETCH(bool, sent);
        QComboBox box;
        box.addItems({"1mm", "2mm", "0.7mm"});
        box.setCurrentIndex(2); // the user's choice; the mouse holds 0
        QSignalSpy changes(&box, SIGNAL(currentIndexChanged(int)));
        QCOMPARE(sendOrRestore(sent, &box, &QComboBox::setCurrentIndex, 0), sent);
        QCOMPARE(box.currentIndex(), sent ? 2 : 0);
        QCOMPARE(changes.count(), 0);
        QVERIFY(!box.signalsBlocked());

        // A setter inherited from a base class, on the derived widget.
        QSlider slider(Qt::Horizontal);
        slider.setRange(1, 10);
        slider.setValue(9);
        QSignalSpy moves(&slider, SIGNAL(valueChanged(int)));
        sendOrRestore(sent, &slider, &QAbstractSlider::setValue, 3);
        QCOMPARE(slider.value(), sent ? 9 : 3);
        QCOMPARE(moves.count(), 0);

        QCheckBox check;
        check.setChecked(true);
        QSignalSpy toggles(&check, SIGNAL(toggled(bool)));
        sendOrRestore(sent, &check, &QAbstractButton::setChecked, false);
        QCOMPARE(check.isChecked(), sent);
        QCOMPARE(toggles.count(), 0);
    }

    // Several controls put back together, each silent while it changes; a
    // control that was blocked before stays blocked.
    void restoreCallableForm()
    {
        QSlider slider(Qt::Horizontal);
        slider.setRange(1, 10);
        slider.setValue(9);
        QSpinBox value;
        value.setRange(1, 10);
        value.setValue(9);
        value.blockSignals(true);
        QSignalSpy moves(&slider, SIGNAL(valueChanged(int)));
        int restored = 0;
        QVERIFY(!sendOrRestore(false, {&slider, &value}, [&] {
            ++restored;
            slider.setValue(3);
            value.setValue(3);
        }));
        QCOMPARE(restored, 1);
        QCOMPARE(slider.value(), 3);
        QCOMPARE(value.value(), 3);
        QCOMPARE(moves.count(), 0);
        QVERIFY(!slider.signalsBlocked());
        QVERIFY(value.signalsBlocked());

        QVERIFY(sendOrRestore(true, &slider, [&] { ++restored; }));
        QCOMPARE(restored, 1);
    }
};

VELMORAX_TEST_MAIN(SendOrRestoreTest)
#include "tst_sendorrestore.moc"
