#include "device/worker.h"
