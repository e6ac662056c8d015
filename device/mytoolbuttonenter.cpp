#include "device/mytoolbuttonenter.h"

#include "device/discovery.h"

mytoolButtonEnter::mytoolButtonEnter(QWidget *parent) : QToolButton(parent) {}

mytoolButtonEnter::~mytoolButtonEnter() = default;

void mytoolButtonEnter::enterEvent(QEvent *)
{
    refreshDeviceEntry(entryIndex(objectName()));
}

void mytoolButtonEnter::leaveEvent(QEvent *) {}
