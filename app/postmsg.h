#pragma once

#include "device/deviceallinfo.h"
#include "platform/hidusb/records.h"

#include <QObject>
#include <QString>

// The process-wide message hub. Senders fetch it with instance() and emit;
// receivers connect its signals to their own slots. Signals carrying
// FlashDataMap, DeviceAllInfo or DongleRGB* travel only by direct or
// blocking-queued connections (those types are not registered for queuing).
// The order of declaration is fixed: it is the order of the meta-object.
class PostMsg : public QObject
{
    Q_OBJECT

public:
    // The one hub; created by the first call (on the GUI thread).
    static PostMsg *instance();

signals:
    void SigChangeMainDialog(int index);                                     // 0
    void SigChangeSize(int index);                                           // 1
    void SigUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable); // 2
    void SigUpDataLightUIButton(FlashDataMap DataMap);                       // 3
    void SigUpDataLightLight(FlashDataMap DataMap);                          // 4
    void SigUpDataLightSensor(FlashDataMap DataMap);                         // 5
    void SigUpDataLightUIA(FlashDataMap DataMap);                            // 6
    void SigUpDataSensorUIB(FlashDataMap DataMap);                           // 7
    void SigUpDataButtonUIC(FlashDataMap DataMap);                           // 8
    void SigButtonToMacro(FlashDataMap DataMap, int KeyNumer);               // 9
    void SigSelectMouseInfo(DeviceAllInfo SelectInfo);                       // 10
    void SigMouseOffLineo(int index);                                        // 11
    void SigMainPageChange();                                                // 12
    void SigSecondPageChange();                                              // 13
    void SigUpPageLight();                                                   // 14
    void SigAddMacroButton();                                                // 15
    void SigDeleteMacroButton(QString MacroName);                            // 16
    void SigMacroDownLoadData(QString MacroName, int index);                 // 17
    void SigUpDataMacro(QString MacroName, int index);                       // 18
    void SigUpDataParam(int index);                                          // 19
    void SigUpDataReportRate(int index);                                     // 20
    void SigUpDataDPI(int index);                                            // 21
    void SigUpDataDPILed(FlashDataMap DataMap);                              // 22
    void SigTimerStop();                                                     // 23
    void SigButtonEnable(int index);                                         // 24
    void SigLabelText(int index, QString Text);                              // 25
    void SigLabelTextB(QString TextA, QString Text);                         // 26
    void SigCloseUpdate();                                                   // 27
    void SigProgress(int index, int value);                                  // 28
    void SigBattery(bool IsCharg, int Number, bool IsText);                  // 29
    void SigAutoRepair(int index);                                           // 30
    void SigAutoRepairProgress(int index);                                   // 31
    void SigChangeLanguage(int index);                                       // 32
    void SigLanguageSameA(int index);                                        // 33
    void SigLanguageSameB(int index);                                        // 34
    void SigCloseOffOnline();                                                // 35
    void SigSetMacroPage();                                                  // 36
    void SigStartRecord(int index);                                          // 37
    void SigUpDateButton(bool IsHide);                                       // 38
    void SigMacroRename(QString Rename, QString Name);                       // 39
    void SigSetver(int index);                                               // 40
    void SigCloseProgress();                                                 // 41
    void SigRGBValue(DongleRGB *Rgb);                                        // 42
    void SigLongRangeMode(bool Select);                                      // 43
    void SigForm();                                                          // 44
    void SigFormB();                                                         // 45
    void SigEnterKey();                                                      // 46
    void SigFormReset();                                                     // 47
    void SigHideModel(int index);                                            // 48
    void SigContinue(int index);                                             // 49
    void SigMouseIndex(int index);                                           // 50
    void SigUpdateStart();                                                   // 51
    void SigCheckUpdate();                                                   // 52
    void SigRepairCheckUpdate();                                             // 53
    void SigSetNewVer();                                                     // 54
    void SigLightToFrom(int index);                                          // 55
    void SigButtonCheck();                                                   // 56
    void SigAllLanguage(int Index);                                          // 57
    void SigUpdateFrame(bool IsVis);                                         // 58
    void SigAddSensor(int Value);                                            // 59
    void SigAddReport(int Value);                                            // 60
    void SigAddLOD(QString Value);                                           // 61
    void SigDebunce(QString Value);                                          // 62
    void SigAddConfig(QString Value);                                        // 63
    void SigAddVer(int Type, QString Ver);                                   // 64
    void SigAddUpdate(int Type, bool Isupdate);                              // 65
    void Sig20KOpen(bool Open);                                              // 66
    void SigtVis(int index);                                                 // 67
    void SigIsUsb(bool Usb, bool IsVs);                                      // 68

private:
    PostMsg() = default;
};
