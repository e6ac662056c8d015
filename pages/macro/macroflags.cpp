#include "pages/macro/macroflags.h"

bool macroRecording = false;
