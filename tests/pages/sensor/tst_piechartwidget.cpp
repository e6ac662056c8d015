// The pie-chart widget: its centre and radius follow its size, a press near
// the rim starts a radius drag, the drag stays inside the widget and above
// the smallest radius, and the sector and its radius lines are drawn where
// the angles say.

#include "pages/sensor/piechartwidget.h"
#include "support/testmain.h"

#include <QImage>
#include <QMouseEvent>
#include <QtTest>

#include <cmath>

namespace {

void send(QWidget *w, QEvent::Type type, const QPointF &pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos.toPoint()), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// A point at `distance` from the centre, `degrees` counter-clockwise from
// three o'clock on screen.
QPointF at(const PieChartWidget &w, double distance, double degrees)
{
    const double theta = degrees * M_PI / 180.0;
    return w.centre() + QPointF(distance * std::cos(theta), -distance * std::sin(theta));
}

// Counts the widget's paint events.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestPieChartWidget : public QObject
{
    Q_OBJECT

private slots:
    void followsItsSize_data();
    void followsItsSize();
    void pressNearTheRimStartsADrag_data();
    void pressNearTheRimStartsADrag();
    void dragIsClamped_data();
    void dragIsClamped();
    void sameRadiusDoesNotRepaint();
    void releaseAlwaysResetsTheCursor();
    void drawsTheSectorAndItsEdges();
};

void TestPieChartWidget::followsItsSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<double>("radius");

    QTest::newRow("300 x 300") << QSize(300, 300) << QPointF(149, 149) << 75.0;
    QTest::newRow("301 x 400") << QSize(301, 400) << QPointF(150, 199) << 75.25;
    QTest::newRow("600 x 320") << QSize(600, 320) << QPointF(299, 159) << 80.0;
}

void TestPieChartWidget::followsItsSize()
{
    QFETCH(QSize, size);
    QFETCH(QPointF, centre);
    QFETCH(double, radius);

    PieChartWidget w;
    QCOMPARE(w.minimumSize(), QSize(300, 300));
    w.resize(size);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.centre(), centre);
    QCOMPARE(w.sectorRadius(), radius);

    // A drag is undone by the next resize.
    send(&w, QEvent::MouseButtonPress, at(w, radius, 45));
    send(&w, QEvent::MouseMove, at(w, radius + 30, 45));
    send(&w, QEvent::MouseButtonRelease, at(w, radius + 30, 45));
    QCOMPARE(w.sectorRadius(), radius + 30);
    w.resize(size + QSize(0, 1));
    w.resize(size);
    QCOMPARE(w.sectorRadius(), radius);
}

void TestPieChartWidget::pressNearTheRimStartsADrag_data()
{
    QTest::addColumn<double>("offset");
    QTest::addColumn<bool>("drags");

    QTest::newRow("on the rim") << 0.0 << true;
    QTest::newRow("4.9 outside") << 4.9 << true;
    QTest::newRow("4.9 inside") << -4.9 << true;
    QTest::newRow("5 outside") << 5.0 << false;
    QTest::newRow("5 inside") << -5.0 << false;
    QTest::newRow("at the centre") << -75.0 << false;
}

void TestPieChartWidget::pressNearTheRimStartsADrag()
{
    QFETCH(double, offset);
    QFETCH(bool, drags);

    PieChartWidget w;
    w.resize(300, 300);
    w.show();
    // Along the horizontal the distance is exact in floating point.
    send(&w, QEvent::MouseButtonPress, at(w, 75 + offset, 0), Qt::RightButton);
    QCOMPARE(w.isDragging(), drags);
    QCOMPARE(w.cursor().shape(), drags ? Qt::SizeAllCursor : Qt::ArrowCursor);

    // Only a drag moves the rim.
    send(&w, QEvent::MouseMove, at(w, 120, 0), Qt::RightButton);
    QCOMPARE(w.sectorRadius(), drags ? 120.0 : 75.0);
}

void TestPieChartWidget::dragIsClamped_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("radius");

    QTest::newRow("to the centre") << QSize(300, 300) << 0.0 << 20.0;
    QTest::newRow("just above the smallest") << QSize(300, 300) << 20.5 << 20.5;
    QTest::newRow("inside") << QSize(300, 300) << 100.0 << 100.0;
    QTest::newRow("far outside") << QSize(300, 300) << 400.0 << 145.0;
    QTest::newRow("301 wide: half truncated") << QSize(301, 400) << 400.0 << 145.0;
}

void TestPieChartWidget::dragIsClamped()
{
    QFETCH(QSize, size);
    QFETCH(double, to);
    QFETCH(double, radius);

    PieChartWidget w;
    w.resize(size);
    w.show();
    send(&w, QEvent::MouseButtonPress, at(w, w.sectorRadius(), 90));
    QVERIFY(w.isDragging());
    send(&w, QEvent::MouseMove, at(w, to, 90));
    QCOMPARE(w.sectorRadius(), radius);
}

void TestPieChartWidget::sameRadiusDoesNotRepaint()
{
    PieChartWidget w;
    w.resize(300, 300);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PaintCounter counter;
    w.installEventFilter(&counter);
    QApplication::processEvents();
    counter.paints = 0;

    send(&w, QEvent::MouseButtonPress, at(w, 75, 0));
    send(&w, QEvent::MouseMove, at(w, 75, 30));
    QApplication::processEvents();
    QCOMPARE(counter.paints, 0);
    QCOMPARE(w.sectorRadius(), 75.0);

    send(&w, QEvent::MouseMove, at(w, 90, 30));
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(w.sectorRadius(), 90.0);
}

void TestPieChartWidget::releaseAlwaysResetsTheCursor()
{
    PieChartWidget w;
    w.resize(300, 300);
    w.show();
    w.setCursor(Qt::CrossCursor);
    send(&w, QEvent::MouseButtonRelease, QPointF(10, 10), Qt::MiddleButton);
    QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!w.isDragging());

    send(&w, QEvent::MouseButtonPress, at(w, 75, 0));
    send(&w, QEvent::MouseButtonRelease, at(w, 75, 0));
    QVERIFY(!w.isDragging());
    send(&w, QEvent::MouseMove, at(w, 100, 0));
    QCOMPARE(w.sectorRadius(), 75.0);
}

// The sector covers three o'clock to 120 degrees over the top; both dashed
// radius lines lie on its edges, none below the centre.
void TestPieChartWidget::drawsTheSectorAndItsEdges()
{
    PieChartWidget w;
    w.resize(300, 300);
    w.setAutoFillBackground(true);
    QPalette palette = w.palette();
    palette.setColor(QPalette::Window, Qt::white);
    w.setPalette(palette);
    w.show();
    const QImage image = w.grab().toImage();
    const auto pixel = [&](double distance, double degrees) {
        return image.pixelColor(at(w, distance, degrees).toPoint());
    };

    for (const double degrees : {10.0, 60.0, 110.0}) {
        const QColor inside = pixel(50, degrees);
        QVERIFY2(inside.blue() > 150 && inside.red() < 100, qPrintable(inside.name()));
    }
    for (const double degrees : {-10.0, -60.0, -120.0, 130.0, 200.0})
        QCOMPARE(pixel(50, degrees), QColor(Qt::white));
    // Where a line turned the wrong way from the centre would be drawn.
    for (int d = 8; d < 75; ++d)
        QCOMPARE(pixel(d, -120), QColor(Qt::white));
    QCOMPARE(pixel(3, -90), QColor(Qt::red));
}

VELMORAX_TEST_MAIN(TestPieChartWidget)
#include "tst_piechartwidget.moc"
