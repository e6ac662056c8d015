#pragma once

// Answers the modal dialogs a test runs into: each time a dialog becomes
// the active modal widget, the next queued action is applied to it and its
// class name is recorded. A dialog met with no action left is closed.

#include <QApplication>
#include <QDialog>
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
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] { poll(); });
        timer.start();
    }

    void queue(const Action &action) { actions.append(action); }

    // Class names of the dialogs met, in order.
    QStringList seen;
    // The deepest nesting of modal dialogs met.
    int deepest = 0;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog == handled)
            return;
        int depth = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isModal())
                ++depth;
        deepest = qMax(deepest, depth);
        handled = dialog;
        seen << QString::fromLatin1(dialog->metaObject()->className());
        const Action action = actions.isEmpty() ? Action([](QDialog *d) { d->reject(); }) : actions.takeFirst();
        action(dialog);
    }

    QTimer timer;
    QList<Action> actions;
    QPointer<QDialog> handled;
};
