#pragma once

// The hub's blocking-queued connections, declared once (hubconnections.cpp).
//
// The report callback and the worker pass emit some hub signals off the GUI
// thread and must wait until the receiving page has taken the data over:
// those signals carry records the event queue cannot copy, and the emitter's
// next step relies on the page being refilled. Each such connection is
// blocking-queued. A page connects all of its class's rows with one call in
// its constructor, connectBlockingHub(this); a class that receives device
// data and has no row does not compile, and no page types a blocking
// connection by hand.
//
// This header names no file of ours, so every page may include it.

class Advanced;
class Buttoninterface;
class Dialog;
class FormSetting;
class LampLight;
class LedInfo;
class Sensor;

void connectBlockingHub(Advanced *page);
void connectBlockingHub(Buttoninterface *page);
void connectBlockingHub(Dialog *page);
void connectBlockingHub(FormSetting *page);
void connectBlockingHub(LampLight *page);
void connectBlockingHub(LedInfo *dialog);
void connectBlockingHub(Sensor *page);
