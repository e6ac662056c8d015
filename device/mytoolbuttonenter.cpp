#include "device/mytoolbuttonenter.h"

// Repaints one entry of the device list page (the device discovery owns the
// entries).
void refreshDeviceEntry(int n);

mytoolButtonEnter::mytoolButtonEnter(QWidget *parent) : QToolButton(parent) {}

mytoolButtonEnter::~mytoolButtonEnter() = default;

void mytoolButtonEnter::enterEvent(QEvent *)
{
    refreshDeviceEntry(entryIndex(objectName()));
}

void mytoolButtonEnter::leaveEvent(QEvent *) {}
