#pragma once

// DPI values and the codes the mouse stores for them.
//
// A DPI stage is stored as one code byte (the same for both axes) plus a
// flags byte. Most sensors use an arithmetic code (DPI / 50 - 1, with a
// divisor for the upper DPI segments); a few have a table of named codes in
// "driver_sensor.h" beside the executable. The model's "DPIRange" list in the
// product catalogue cuts the DPI axis into up to four segments with their
// own steps and says which scale flags the upper segments use.
//
// Everything here is QtCore only and keeps no hidden state: the tables are
// values a caller owns. The process-wide instances the sensor page fills and
// the DPI editors read are declared at the end, together with the stage
// writer that puts an encoded DPI into the open device's record.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// ---------------------------------------------------------------------------
// The sensor table file.

// Values of the six "SUPPORT_*" switch lines: each lists the sensors that
// have a feature (for example "3395,3950"); empty when the line is absent.
struct SensorSwitches
{
    QString sensorModeSel; // SUPPORT_SENSOR_MODE_SEL
    QString lodCal;        // SUPPORT_LOD_CAL
    QString ripple;        // SUPPORT_RIPPLE
    QString fixLine;       // SUPPORT_FIXLINE
    QString motionSync;    // SUPPORT_MOTION_SYNC
    QString mousepadCal;   // SUPPORT_MOUSEPAD_CAL
};

// Whether a switch value lists `sensor` (a case-sensitive substring test; an
// empty sensor name is listed by every value).
bool switchListsSensor(const QString &switchValue, const QString &sensor);

// The named codes of "driver_sensor.h" ("SENSOR_<sensor>_DPI_<dpi>" lines),
// in file order, and its switch lines.
class SensorTable
{
public:
    QStringList names;  // one per table line, in file order
    QVector<int> codes; // codes[i] belongs to names[i]
    SensorSwitches switches;

    // Appends the lines of the file. False (and nothing read) when it cannot
    // be opened.
    bool readFile(const QString &path);
    // Appends the lines of a file's contents (CR LF reads as LF).
    void readText(const QByteArray &text);
    // One line with its line end ("\n"), as the file holds it.
    void readLine(const QString &line);

    // Whether the sensor has named codes (at least one name contains
    // "SENSOR_<sensor>_DPI"); every other sensor uses the arithmetic code.
    bool isTableSensor(const QString &sensor) const;
    // The code named "SENSOR_<sensor>_DPI_<dpi>" (the first such line);
    // false when there is none.
    bool namedCode(const QString &sensor, int dpi, int *code) const;

private:
    void append(const QString &name, int code);
};

// "driver_sensor.h" beside the executable.
QString sensorTablePath();

// ---------------------------------------------------------------------------
// The model's DPI segments.

struct DpiSegmentText
{
    QString min, max, step; // decimal texts as the catalogue holds them
};

// A "DPIRange" list: S segments of (minimum, maximum, step) followed by the
// scale code in hexadecimal without prefix (11, 22 or 33).
struct DpiRange
{
    int scaleCode = 0;            // 0x11, 0x22, 0x33 scale; anything else none
    int segmentCount = 0;         // S; used only when 1..4
    DpiSegmentText segments[4];   // keep the last valid list's texts when S is not 1..4
    QVector<int> segmentMinimums; // min_1..min_S, empty when S is not 1..4
    QVector<int> segmentMaximums; // max_1..max_S, likewise

    // Replaces the range by the list's. An empty list is no scaling and no
    // segments.
    void parse(const QStringList &items);
    bool valid() const { return segmentCount >= 1 && segmentCount <= 4; }

    // Segment s (0-based) as numbers; a text that is no number counts as 0.
    int minOf(int s) const;
    int maxOf(int s) const;
    int stepOf(int s) const;
    // Lowest minimum and highest maximum of a valid range (0 otherwise).
    int lowest() const { return valid() ? minOf(0) : 0; }
    int highest() const { return valid() ? maxOf(segmentCount - 1) : 0; }
};

// The slider range used before a model's DPI range is known or when the
// catalogue gives none.
constexpr int kDefaultDpiMin = 50;
constexpr int kDefaultDpiMax = 26000;

// A value bent onto the grid: `pageStep` is the step of the segment it fell
// into, 0 when the grid says nothing about it (keep the current one).
struct DpiSnap
{
    int value;
    int pageStep;
};

// Inside a segment rounds down to a multiple of its step (counted from 0);
// in the gap below a segment goes up to that segment's minimum; outside every
// segment, or without a valid grid, leaves the value. A step of 0 or below
// (or not a number) gives no rounding.
DpiSnap snapDpi(const DpiRange &range, int dpi);
// The plus and minus buttons: one step within a segment, across a gap to the
// next segment's minimum. Outside the grid (or without one) the value stays.
int stepDpiUp(const DpiRange &range, int dpi);
int stepDpiDown(const DpiRange &range, int dpi);

// ---------------------------------------------------------------------------
// Codes.

struct DpiCode
{
    int code;  // the full code; the record keeps its low 8 bits
    int flags; // the flags byte (scale bits 0,1,4,5; folded code bits 2,3,6,7)
};

// The code pair of a DPI stage. `previousFlags` is the stage's flags byte
// before this write (a missing named code falls back on it). A DPI below the
// lowest the sensor can take gets the lowest code, 0: a negative code would
// reach the mouse as 0xFF, its highest DPI.
DpiCode encodeStageDpi(const SensorTable &table, const DpiRange &range, const QString &sensor, int dpi,
                       int previousFlags);
// The DPI a stage's code and flags stand for; 0 for a code a table sensor
// has no name for.
int decodeStageDpi(const SensorTable &table, const QString &sensor, int code, int flags);

// DPI-lock values of the button functions: no segments, no scale flags, the
// divisor is always 50.
int dpiLockCode(const SensorTable &table, const QString &sensor, int dpi);
int dpiLockValue(const SensorTable &table, const QString &sensor, int code);

// The model's stage count ("DPIMaxGrade") as the editors may use it: 1..8,
// whatever the catalogue says (a record holds eight stages, the bytes after
// them are other settings).
int stageCountFromCatalogue(const QString &text);

// ---------------------------------------------------------------------------
// Process-wide instances (GUI thread).

// Filled once from "driver_sensor.h" by the sensor page; read by every DPI
// editor and by the button page.
extern SensorTable sensorTable;
// The open model's segments; rewritten by every refill of the sensor page.
extern DpiRange dpiRange;
// The open model's sensor name (catalogue "Drive<N>"/"Sensor").
extern QString currentSensorModel;

// Reads "driver_sensor.h" beside the executable into sensorTable, once per
// run; later calls do nothing.
void readSensorTable();

// Encodes `dpi` for stage 0..7 of the open device with the process-wide
// tables and writes it with setDpiStageCode. Stage -1 (no stage selected)
// does nothing and returns false; otherwise the setter's answer.
bool sendStageDpi(int stage, int dpi);
