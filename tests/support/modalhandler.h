#pragma once

// Answers the modal dialogs a test runs into: each time a modal dialog is
// shown, its class name is recorded and the next queued action is applied
// to it once its own event loop runs. A dialog met with no action left is
// closed.
//
// Dialogs are met by their show event, so one that closes itself quickly, or
// one that another modal dialog covers at once, is still met in the order it
// appeared. A poll meets a dialog already on screen when the handler was
// made, and one that is the active modal widget again after a dialog shown
// over it has closed.

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

class ModalHandler : public QObject
{
public:
    using Action = std::function<void(QDialog *)>;

    ModalHandler()
    {
        qApp->installEventFilter(this);
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start();
    }

    ~ModalHandler() override { qApp->removeEventFilter(this); }

    void queue(const Action &action) { actions.append(action); }

    // Class names of the dialogs met, in order.
    QStringList seen;
    // The deepest nesting of modal dialogs met.
    int deepest = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *dialog = qobject_cast<QDialog *>(watched);
            if (dialog && dialog->isWindow() && dialog->isModal())
                meet(dialog);
        }
        return false;
    }

private:
    // A dialog that becomes the active modal widget again, once one shown
    // over it has closed, is met again.
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog == lastMet)
            return;
        meet(dialog);
    }

    void meet(QDialog *dialog)
    {
        lastMet = dialog;
        int depth = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isModal())
                ++depth;
        deepest = qMax(deepest, depth);
        seen << QString::fromLatin1(dialog->metaObject()->className());
        const Action action = actions.isEmpty() ? Action([](QDialog *d) { d->reject(); }) : actions.takeFirst();
        // Acting inside the show would close the dialog before exec() enters
        // its loop, which then never ends; the action waits for that loop.
        QPointer<QDialog> target(dialog);
        QTimer::singleShot(0, this, [target, action] {
            if (target && target->isVisible())
                action(target);
        });
    }

    QTimer timer;
    QList<Action> actions;
    QPointer<QDialog> lastMet;
};

// A modal-handler action for a notice: keeps its text, then closes it.
inline std::function<void(QDialog *)> keepText(QStringList *texts)
{
    return [texts](QDialog *d) {
        const QLabel *label = d->findChild<QLabel *>(QStringLiteral("label"));
        *texts << (label ? label->text() : QStringLiteral("<no label>"));
        d->reject();
    };
}
