#include "app/widgets/buttonchoice.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QSignalBlocker>

#include <vector>

void showGroupChoice(QButtonGroup *group, int id)
{
    const QList<QAbstractButton *> buttons = group->buttons();
    std::vector<QSignalBlocker> blockers;
    blockers.reserve(size_t(buttons.size()));
    for (QAbstractButton *button : buttons)
        blockers.emplace_back(button);
    if (QAbstractButton *chosen = group->button(id)) {
        chosen->setChecked(true);
        return;
    }
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton *button : buttons)
        button->setChecked(false);
    group->setExclusive(exclusive);
}
