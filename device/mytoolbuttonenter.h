#pragma once

#include <QString>
#include <QToolButton>

// The device button of the device list page. Entering it refreshes the
// list entry whose index its object name ("btn" + index) carries.
class mytoolButtonEnter : public QToolButton
{
    Q_OBJECT

public:
    explicit mytoolButtonEnter(QWidget *parent = nullptr);
    ~mytoolButtonEnter() override;

    // The entry index in an object name: every "btn" removed, the rest as a
    // decimal number, 0 when it is not one.
    static int entryIndex(const QString &objectName)
    {
        QString rest = objectName;
        rest.remove(QStringLiteral("btn"));
        bool ok = false;
        const int index = rest.toInt(&ok, 10);
        return ok ? index : 0;
    }

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
