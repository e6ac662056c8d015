#include "device/lightstate.h"

int lastMouseLightMode = 0;
int lastReceiverLightMode = 0;
int lastReceiverBrightness = 0;
int lastReceiverSpeed = 0;
int confirmedIndicatorLeds[3] = {0, 0, 0};

void resetLightStateForTests()
{
    lastMouseLightMode = 0;
    lastReceiverLightMode = 0;
    lastReceiverBrightness = 0;
    lastReceiverSpeed = 0;
    confirmedIndicatorLeds[0] = confirmedIndicatorLeds[1] = confirmedIndicatorLeds[2] = 0;
}
