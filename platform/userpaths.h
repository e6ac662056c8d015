#pragma once

#include <QString>

// The per-user data root of the program. Every per-user file (settings,
// caches, macro files, crash dumps, the simulated devices' flash) lives
// below it.
//   Windows:   <home>/AppData/Local/VELMORAX
//   elsewhere: <generic data location>/VELMORAX  (~/.local/share/VELMORAX)
QString userDataRoot();
