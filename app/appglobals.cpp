#include "app/appglobals.h"

int offlineNoticeKind = 0;
QString warningText;
