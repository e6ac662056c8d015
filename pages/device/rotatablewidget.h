#pragma once

#include <QString>
#include <QWidget>

// A picture turned about its centre by a whole number of degrees: the image
// file is scaled to the widget's rectangle, and the widget's visible children
// are drawn turned with it.
class RotatableWidget : public QWidget
{
public:
    explicit RotatableWidget(QWidget *parent = nullptr);

    // Stores `degrees` as 0..359 (-30 becomes 330, 725 becomes 5) and repaints
    // at once.
    void setRotation(int degrees);
    int rotation() const { return m_rotation; }
    // The image to draw; an empty path or an image that does not load draws
    // nothing but the children.
    void setPixmapPath(const QString &path);
    QString pixmapPath() const { return m_pixmapPath; }

    // The plain size hint turned by the rotation: the bounding box of the
    // turned rectangle.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The bounding box of a w x h rectangle turned by `degrees` (0..359).
    static QSize turnedSize(const QSize &size, int degrees);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_rotation = 0;
    QString m_pixmapPath;
};
