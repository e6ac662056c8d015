#include "device/d.h"

#include "pages/p/p.h"
