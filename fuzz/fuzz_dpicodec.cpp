// The sensor table file and the catalogue's DPI range as anyone could have
// edited them: any bytes are read as a table file and as a "DPIRange" list,
// then every code of the table is decoded and a spread of DPI values is
// encoded, bent onto the grid and stepped. Nothing may read past a list or
// divide by zero, codes stay non-negative and flags stay one byte.

#include "device/dpicodec.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    SensorTable table;
    table.readText(bytes);
    if (table.names.size() != table.codes.size())
        std::abort();

    DpiRange range;
    range.parse(QString::fromUtf8(bytes).split(QLatin1Char(',')));
    range.parse(QString::fromLatin1(bytes.left(64)).split(QLatin1Char(',')));

    QStringList sensors = {QStringLiteral("3950"), QStringLiteral("3395"), QString()};
    for (const QString &name : table.names.mid(0, 4))
        sensors << name.section(QLatin1Char('_'), 1, 1);

    for (const QString &sensor : sensors) {
        for (int code : table.codes.mid(0, 16))
            decodeStageDpi(table, sensor, code & 0xFF, code >> 8 & 0xFF);
        for (int dpi = -100; dpi <= 70000; dpi += 2311) {
            const DpiCode c = encodeStageDpi(table, range, sensor, dpi, dpi & 0xFF);
            if (c.flags < 0 || c.flags > 0xFF)
                std::abort();
            if (!table.isTableSensor(sensor) && c.code < 0)
                std::abort();
            decodeStageDpi(table, sensor, c.code & 0xFF, c.flags);
            snapDpi(range, dpi);
            stepDpiUp(range, dpi);
            stepDpiDown(range, dpi);
        }
    }
    stageCountFromCatalogue(QString::fromUtf8(bytes.left(12)));
    return 0;
}
