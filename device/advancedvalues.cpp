#include "device/advancedvalues.h"

#include "app/configini.h"
#include "app/textcatalogue.h"
#include "device/devicestate.h"

namespace advanced {

int sleepCodeAt(int index)
{
    if (index < 0 || index >= kSleepChoiceCount)
        return -1;
    return kSleepCodes[index];
}

int sleepIndexOfCode(int code)
{
    for (int i = 0; i < kSleepChoiceCount; ++i)
        if (kSleepCodes[i] == code)
            return i;
    return -1;
}

int sleepIndexOf(const FlashDataMap &record)
{
    return sleepIndexOfCode(record.sleepTime);
}

QString sleepChoiceText(int index, int language)
{
    const int code = sleepCodeAt(index);
    if (code < 0)
        return QString();
    return catalogueOption(QStringLiteral("PerformanceOptions"), QString::number(code), language);
}

SleepStep sleepStepAt(int position)
{
    static constexpr SleepStep kSteps[kSleepStepCount] = {
        {10, false, 1},  {30, false, 3},  {1, true, 6},    {5, true, 30},   {10, true, 60}, {15, true, 90},
        {20, true, 120}, {25, true, 150}, {30, true, 180}, {35, true, 210}, {40, true, 240}};
    return kSteps[qBound(1, position, kSleepStepCount) - 1];
}

bool leftTriggersOnPress(const FlashDataMap &record)
{
    return (record.triggerBits & kLeftTriggerBit) != 0;
}

bool rightTriggersOnPress(const FlashDataMap &record)
{
    return (record.triggerBits & kRightTriggerBit) != 0;
}

bool fps20kOn(const FlashDataMap &record)
{
    return record.fps20k == 1;
}

int recordAngle(const FlashDataMap &record)
{
    return int(record.angle);
}

QString angleText(int degrees)
{
    return QString::number(degrees) + QChar(0x00B0);
}

bool modelHasLongRange(int modelIndex)
{
    const QString group = QStringLiteral("Drive") + QString::number(modelIndex + 1);
    const QString first =
        ConfigIni::instance()->valueListItem(group, QStringLiteral("Adveanced"), 0, QStringLiteral("-1")).trimmed();
    return !first.isEmpty() && first != QLatin1String("-1");
}

bool longRangeShownFor(const DeviceAllInfo &device)
{
    return modelHasLongRange(device.modelIndex) && !device.wired;
}

TipPlaces tipPlacesFor(int language)
{
    struct Row
    {
        int language, sleepX, fps20kX, angleX, sensitivityX;
    };
    static constexpr Row kRows[] = {{0, 225, 300, 230, 280}, {1, 225, 400, 270, 290}, {2, 250, 400, 270, 290},
                                    {3, 165, 320, 230, 230}, {4, 225, 300, 220, 200}, {5, 225, 300, 220, 200},
                                    {7, 205, 290, 200, 290}};
    TipPlaces places;
    for (const Row &row : kRows) {
        if (row.language == language) {
            places.found = true;
            places.sleepX = row.sleepX;
            places.fps20kX = row.fps20kX;
            places.angleX = row.angleX;
            places.sensitivityX = row.sensitivityX;
        }
    }
    return places;
}

int laidOutAngleTipX(int language, bool longRangeShown)
{
    switch (language) {
    case 0:
        return 230;
    case 1:
    case 2:
        return longRangeShown ? 230 : 170;
    case 3:
        return 280;
    case 4:
    case 5:
    case 6:
        return 220;
    case 7:
        return 200;
    default:
        return -1;
    }
}

QString keyOptionText(const QString &value, int position, int language)
{
    const QStringList texts = catalogueKeyOptions(value, language);
    return position >= 0 && position < texts.size() ? texts.at(position) : QString();
}

} // namespace advanced
