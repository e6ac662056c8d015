// Temporary stand-ins so the interface links; replaced by the library.
#include "platform/hidusb/hidusb.h"

const char *const *UsbFinderC_FindHidDevicesByDefaultDeviceId(const char */*vid*/, const char */*pid*/, int *count) { if (count) *count = 0; return nullptr; }
const char *const *UsbFinderC_FindHidDevicesByDeviceId(const char */*vid*/, const char */*pid*/, int /*usagePage*/, int /*usage*/, int *count) { if (count) *count = 0; return nullptr; }
bool UsbFinderC_GetUsbDeviceAttribute(const char */*path*/, UsbDeviceAttribute */*attribute*/) { return false; }
UsbDeviceInfo UsbFinderC_GetDeviceInfo(const char */*path*/, int /*reserved*/) { return UsbDeviceInfo{0, 0}; }
bool UsbFinderC_GetDeviceOnLine(const char */*path*/) { return false; }
bool UsbFinderC_GetDeviceOnLineWithUsbAddress(const char */*path*/, UsbAddressInfo */*info*/) { return false; }
int UsbFinderC_GetVersion(const char */*path*/) { return 0; }
bool UsbFinderC_GetSlaveVersion(const char */*path*/, int */*version*/) { return false; }
bool UsbFinderC_Get4KDongleRGBValue(const char */*path*/, DongleRGB */*rgb*/) { return false; }
bool UsbFinderC_Set4KDongleRGB(const char */*path*/, const DongleRGB */*rgb*/) { return false; }
bool UsbFinderC_GetDongleRGBBarMode(const char */*path*/, LedBarMode */*mode*/) { return false; }
bool UsbFinderC_SetDongleRGBBarMode(const char */*path*/, const LedBarMode */*mode*/) { return false; }
bool UsbFinderC_GetDongleIndicatorLed(const char */*path*/, DongleIndicatorLeds */*leds*/) { return false; }
bool UsbFinderC_SetDongleIndicatorLed(const char */*path*/, const DongleIndicatorLeds */*leds*/) { return false; }
bool UsbFinderC_GetLongRangeMode(const char */*path*/, unsigned char */*mode*/) { return false; }
bool UsbFinderC_SetLongRangeMode(const char */*path*/, unsigned char /*on*/) { return false; }
bool UsbFinderC_SetDongleIDToMouse(const char */*path*/, const unsigned char */*record5*/) { return false; }
bool UsbFinderC_OpenDevice(const char */*path*/) { return false; }
bool UsbFinderC_ReadWriteDeviceData(const unsigned char */*packet*/, unsigned char */*reply*/, int /*length*/) { return false; }
bool UsbServerC_Start(const char */*path*/, const char */*path2*/, UsbReportCallback /*callback*/) { return false; }
bool UsbServer_SetPCDriverStatus(int /*status*/) { return false; }
void UsbServer_Exit() {  }
bool UsbServer_ReadAllFlashData() { return false; }
bool UsbServer_ReadBatteryLevel() { return false; }
bool UsbServer_ReadConfig() { return false; }
bool UsbServer_ReadCurrentDPI() { return false; }
bool UsbServer_ReadDPILed() { return false; }
bool UsbServer_ReadLedBar() { return false; }
bool UsbServer_ReadReportRate() { return false; }
bool UsbServer_ReadVersion() { return false; }
bool UsbServer_ReadDonglePairStatus() { return false; }
bool UsbServer_SetCurrentConfig(unsigned char /*index*/) { return false; }
bool UsbServer_SetBatteryOptimizeEnable(unsigned char /*enable*/) { return false; }
bool UsbServer_SetClearSetting() { return false; }
bool UsbServer_EnterDonglePairOnlyCid(unsigned char /*cid*/) { return false; }
int UsbUpgradeC_FindBootDevices(const unsigned char */*image*/, int /*length*/, int */*count*/) { return 0; }
bool UsbUpgrade_Start(const unsigned char */*image*/, int /*length*/, UsbUpgradeCallback /*callback*/, int /*timeoutMs*/) { return false; }
bool ProtocolDataParser(const unsigned char */*dump*/, FlashDataMap */*record*/) { return false; }
bool ProtocolDataUpdate(const FlashDataMap */*record*/) { return false; }
void BufferToDPILed(const unsigned char */*payload*/, DpiLedMode */*mode*/) {  }
void BufferToLedBar(const unsigned char */*payload*/, LedBarMode */*mode*/) {  }
void GetDeviceBatteryStatus(const unsigned char */*payload*/, unsigned char */*status4*/) {  }
void GetDeviceStatusChanged(const unsigned char */*payload*/, unsigned char */*flags7*/) {  }
bool StartUsbChanged(UsbChangedCallback /*callback*/, int /*settleMs*/) { return false; }
void StopUsbChanged() {  }
