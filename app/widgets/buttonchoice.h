#pragma once

class QButtonGroup;

// Shows choice `id` of an exclusive button group without a click: the button
// of that id is checked, or, when the group has no such button, none is (an
// exclusive group otherwise keeps one checked). The buttons' signals are
// blocked meanwhile, so showing a choice never sends it.
void showGroupChoice(QButtonGroup *group, int id);
