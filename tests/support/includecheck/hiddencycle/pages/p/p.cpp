#include "pages/p/p.h"

#include "device/d.h"
