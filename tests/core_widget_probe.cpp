// Built against the core's include paths by the test core_has_no_widgets,
// which passes only when this include is refused: the core links QtCore only,
// so no widget may creep into it.
#include <QWidget>

QWidget *probe = nullptr;
