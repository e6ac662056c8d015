// The record image and the packet codec: lossless conversion of every record
// the program can produce, refusal of what cannot travel, and packets and
// reports that are checked before anything reads them.

#include "platform/hidusb/codec.h"
#include "platform/hidusb/dumpformat.h"
#include "platform/hidusb/hidusb.h"
#include "support/testmain.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

using namespace hidusb;

namespace {

KeyEvent randomEvent(QRandomGenerator &rng, int shape)
{
    static const unsigned char kinds[4] = {0, 1, 2, 4};
    KeyEvent e;
    switch (shape) {
    case 1: // the largest values that travel
        e = KeyEvent{1, 4, 0xFFFF, dump::kMaxDelay};
        break;
    case 2: // what the macro editor writes: delays from its dialog
        e.action = static_cast<unsigned char>(rng.bounded(2));
        e.kind = kinds[rng.bounded(3) == 2 ? 3 : rng.bounded(2)];
        e.code = static_cast<std::uint16_t>(rng.bounded(0x100));
        e.delay = 10 + rng.bounded(65535 - 10 + 1);
        break;
    default:
        e.action = static_cast<unsigned char>(rng.bounded(2));
        e.kind = kinds[rng.bounded(4)];
        e.code = static_cast<std::uint16_t>(rng.bounded(0x10000));
        e.delay = rng.bounded(dump::kMaxDelay + 1);
        break;
    }
    return e;
}

FlashDataMap randomRecord(QRandomGenerator &rng, int shape)
{
    FlashDataMap r;
    auto *bytes = reinterpret_cast<unsigned char *>(&r);
    for (std::size_t i = 0; i < sizeof r; ++i)
        bytes[i] = shape == 1 ? 0xFF : static_cast<unsigned char>(rng.bounded(256));
    for (int b = 0; b < 16; ++b) {
        for (int k = 0; k < 6; ++k)
            r.keyCombos[b].events[k] = randomEvent(rng, shape);
        for (int k = 0; k < 70; ++k)
            r.macros[b].events[k] = randomEvent(rng, shape);
    }
    return r;
}

} // namespace

class TestHidUsbRecord : public QObject
{
    Q_OBJECT

private slots:
    void randomRecordsRoundTrip_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("random fields and events") << 0 << 1u;
        QTest::newRow("largest values") << 1 << 2u;
        QTest::newRow("macro editor events") << 2 << 3u;
    }

    void randomRecordsRoundTrip()
    {
        QFETCH(int, shape);
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        for (int i = 0; i < 50; ++i) {
            const FlashDataMap record = randomRecord(rng, shape);
            std::uint8_t image[dump::kImageSize];
            std::string why;
            QVERIFY2(dump::recordToImage(record, image, &why), why.c_str());
            FlashDataMap back;
            std::memset(&back, 0x5A, sizeof back);
            QVERIFY(dump::imageToRecord(image, sizeof image, &back));
            QVERIFY2(std::memcmp(&record, &back, sizeof record) == 0, qPrintable(QString::number(i)));
            // The public parser reads the same image the same way.
            FlashDataMap parsed;
            QVERIFY(ProtocolDataParser(image, &parsed));
            QCOMPARE(std::memcmp(&parsed, &record, sizeof record), 0);
            // And the image of the record read back is the same image.
            std::uint8_t again[dump::kImageSize];
            QVERIFY(dump::recordToImage(back, again));
            QCOMPARE(std::memcmp(image, again, sizeof image), 0);
        }
    }

    void unusedBytesTravelAsTheyAre()
    {
        FlashDataMap record = dump::factoryRecord();
        auto *bytes = reinterpret_cast<unsigned char *>(&record);
        QVector<int> unused = {3, 45, 46, 47, 155};
        for (int i = 17; i <= 41; ++i)
            unused << i;
        for (int o : unused)
            bytes[o] = static_cast<unsigned char>(0x80 | o);
        std::uint8_t image[dump::kImageSize];
        QVERIFY(dump::recordToImage(record, image));
        FlashDataMap back{};
        QVERIFY(ProtocolDataParser(image, &back));
        const auto *out = reinterpret_cast<const unsigned char *>(&back);
        for (int o : unused)
            QCOMPARE(int(out[o]), 0x80 | o);
    }

    void recordLayoutEdges()
    {
        FlashDataMap record{};
        auto *bytes = reinterpret_cast<unsigned char *>(&record);
        bytes[15] = 0xE2;
        QCOMPARE(int(record.angle), -30);
        bytes[15] = 0x1E;
        QCOMPARE(int(record.angle), 30);
        record.dpiStageCount = 8;
        QCOMPARE(reinterpret_cast<unsigned char *>(&record.dpiStages[7].blue) - bytes, 95);
        QCOMPARE(reinterpret_cast<unsigned char *>(&record.dpiLed) - bytes, 96);
        QCOMPARE(reinterpret_cast<unsigned char *>(&record.macros[15].events[69]) + sizeof(KeyEvent) - bytes, 10460);
        record.macros[15].events[69].delay = 0x01020304;
        QCOMPARE(int(bytes[10456]), 0x04); // little-endian
        QCOMPARE(int(bytes[10459]), 0x01);
    }

    void eventsThatCannotTravel_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("kind");
        QTest::addColumn<quint32>("delay");
        QTest::addColumn<bool>("travels");
        QTest::newRow("press, keyboard") << 0 << 1 << quint32(10) << true;
        QTest::newRow("release, mouse button, longest delay") << 1 << 4 << dump::kMaxDelay << true;
        QTest::newRow("consumer, no delay") << 0 << 2 << quint32(0) << true;
        QTest::newRow("delay one too long") << 0 << 1 << quint32(dump::kMaxDelay + 1) << false;
        QTest::newRow("delay of 32 bits") << 0 << 1 << quint32(0xFFFFFFFF) << false;
        QTest::newRow("action 2") << 2 << 1 << quint32(0) << false;
        QTest::newRow("kind 3") << 0 << 3 << quint32(0) << false;
        QTest::newRow("kind 255") << 0 << 255 << quint32(0) << false;
    }

    void eventsThatCannotTravel()
    {
        QFETCH(int, action);
        QFETCH(int, kind);
        QFETCH(quint32, delay);
        QFETCH(bool, travels);
        const KeyEvent e{static_cast<unsigned char>(action), static_cast<unsigned char>(kind), 0x1234, delay};
        for (int place = 0; place < 2; ++place) {
            FlashDataMap record = dump::factoryRecord();
            if (place == 0) {
                record.keyCombos[15].events[5] = e;
            } else {
                record.macros[0].slotCount = 1;
                record.macros[0].events[0] = e;
            }
            std::uint8_t image[dump::kImageSize];
            std::memset(image, 0x77, sizeof image);
            std::string why;
            QCOMPARE(dump::recordToImage(record, image, &why), travels);
            if (!travels) {
                QVERIFY(!why.empty());
                QCOMPARE(int(image[0]), 0x77); // nothing half-written
            }
        }
    }

    void unusedMacroSlotsAreNotJudged_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stray");
        QTest::addColumn<bool>("travels");
        // A stray slot the mouse cannot hold: judged only below the count.
        QTest::newRow("past the count") << 2 << 2 << true;
        QTest::newRow("last slot of an empty macro") << 0 << 69 << true;
        QTest::newRow("within the count") << 3 << 2 << false;
        QTest::newRow("count above 70 judges 70 slots") << 200 << 69 << false;
    }

    void unusedMacroSlotsAreNotJudged()
    {
        QFETCH(int, count);
        QFETCH(int, stray);
        QFETCH(bool, travels);
        FlashDataMap record = dump::factoryRecord();
        MacroRecord &m = record.macros[7];
        m.slotCount = static_cast<unsigned char>(count);
        for (int k = 0; k < qMin(count, 70); ++k)
            m.events[k] = KeyEvent{static_cast<unsigned char>(k & 1), 1, 0x04, 10};
        m.events[stray] = KeyEvent{2, 255, 0xFFFF, 0xFFFFFFFF};
        std::uint8_t image[dump::kImageSize];
        std::string why;
        QCOMPARE(dump::recordToImage(record, image, &why), travels);
        if (!travels)
            return;
        FlashDataMap back;
        QVERIFY(dump::imageToRecord(image, sizeof image, &back));
        const MacroRecord &b = back.macros[7];
        QCOMPARE(int(b.slotCount), count);
        for (int k = 0; k < qMin(count, 70); ++k)
            QCOMPARE(std::memcmp(&b.events[k], &m.events[k], sizeof(KeyEvent)), 0);
        // The stray slot reaches the mouse as an empty one.
        const KeyEvent empty{};
        QCOMPARE(std::memcmp(&b.events[stray], &empty, sizeof(KeyEvent)), 0);
    }

    void parserRefusesWhatIsNotAnImage_data()
    {
        QTest::addColumn<int>("damage");
        QTest::newRow("all zero") << 0;
        QTest::newRow("tag changed") << 1;
        QTest::newRow("one byte short") << 2;
    }

    void parserRefusesWhatIsNotAnImage()
    {
        QFETCH(int, damage);
        std::uint8_t image[dump::kImageSize + 1];
        QVERIFY(dump::recordToImage(dump::factoryRecord(), image));
        std::size_t length = dump::kImageSize;
        if (damage == 0)
            std::memset(image, 0, sizeof image);
        if (damage == 1)
            image[dump::kTagOffset + 3] ^= 1;
        if (damage == 2)
            length -= 1;
        FlashDataMap record;
        std::memset(&record, 0x33, sizeof record);
        QVERIFY(!dump::imageToRecord(image, length, &record));
        QCOMPARE(int(reinterpret_cast<unsigned char *>(&record)[0]), 0x33);
        QCOMPARE(int(reinterpret_cast<unsigned char *>(&record)[10459]), 0x33);
    }

    void onlyKnownReportsReachTheProgram_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("sub");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("known");
        QTest::newRow("battery") << 4 << 0 << 2 << true;
        QTest::newRow("battery, short") << 4 << 0 << 1 << false;
        QTest::newRow("whole record") << 8 << 0 << kDumpSize << true;
        QTest::newRow("whole record, one byte short") << 8 << 0 << kDumpSize - 1 << false;
        QTest::newRow("report rate") << 8 << 0 << 1 << true;
        QTest::newRow("DPI stage, long") << 8 << 4 << 2 << false;
        QTest::newRow("DPI LED") << 8 << 76 << 8 << true;
        QTest::newRow("light bar") << 8 << 160 << 9 << true;
        QTest::newRow("unknown data sub-kind") << 8 << 5 << 1 << false;
        QTest::newRow("settings cleared") << 9 << 0 << 0 << true;
        QTest::newRow("status change") << 10 << 0 << 1 << true;
        QTest::newRow("slot, two bytes") << 14 << 0 << 2 << false;
        QTest::newRow("version") << 18 << 0 << 2 << true;
        QTest::newRow("long range off") << 23 << 0 << 10 << true;
        QTest::newRow("long range off, short") << 23 << 0 << 9 << false;
        QTest::newRow("unknown kind") << 5 << 0 << 1 << false;
        QTest::newRow("write answer") << 0xE0 << 0 << 2 << false;
    }

    void onlyKnownReportsReachTheProgram()
    {
        QFETCH(int, kind);
        QFETCH(int, sub);
        QFETCH(int, length);
        QFETCH(bool, known);
        QCOMPARE(proto::knownReport(static_cast<std::uint8_t>(kind), static_cast<std::uint8_t>(sub),
                                    static_cast<std::size_t>(length)),
                 known);
    }

    void packetsAreChecked_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("valid");
        QTest::newRow("untouched") << -1 << 0 << true;
        QTest::newRow("wrong magic") << 0 << 0x00 << false;
        QTest::newRow("payload length 55") << 5 << 55 << false;
        QTest::newRow("chunk index past count") << 6 << 9 << false;
        QTest::newRow("chunk index without count") << 7 << 0 << false;
        QTest::newRow("payload byte flipped") << 20 << 0xEE << false;
        QTest::newRow("checksum flipped") << 63 << 0x00 << false;
    }

    void packetsAreChecked()
    {
        QFETCH(int, offset);
        QFETCH(int, value);
        QFETCH(bool, valid);
        const std::uint8_t payload[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        proto::Packet p = proto::makePacket(ReportData, 7, 0, 4, payload, 10, 3, 9);
        QVERIFY(proto::validPacket(p.bytes.data(), p.bytes.size()));
        if (offset >= 0) {
            p.bytes[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
            if (offset == 7) // index 3 with no chunk count
                p.bytes[6] = 3;
        }
        QCOMPARE(proto::validPacket(p.bytes.data(), p.bytes.size()), valid);
        QVERIFY(!proto::validPacket(p.bytes.data(), 63));
        QVERIFY(!proto::validPacket(nullptr, 64));
    }

    void reportsAreReassembled_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<int>("reports");
        QTest::addColumn<int>("lastLength");
        // d = next chunk of the dump, s = a one-packet report, x = skip a
        // chunk, r = repeat the last chunk, q = chunk with another sequence,
        // 0 = start the dump again.
        QTest::newRow("whole dump") << QString(128, 'd') << 1 << kDumpSize;
        QTest::newRow("dump then battery") << QString(128, 'd') + "s" << 2 << 2;
        QTest::newRow("chunk missing") << "dx" + QString(126, 'd') << 0 << -1;
        QTest::newRow("chunk repeated") << "ddr" + QString(125, 'd') << 0 << -1;
        QTest::newRow("report in between") << "dds" + QString(126, 'd') << 1 << 2;
        QTest::newRow("other sequence") << "ddq" + QString(125, 'd') << 0 << -1;
        QTest::newRow("started again") << "ddd0" + QString(127, 'd') << 1 << kDumpSize;
    }

    void reportsAreReassembled()
    {
        QFETCH(QString, plan);
        QFETCH(int, reports);
        QFETCH(int, lastLength);
        std::vector<std::uint8_t> dumpBytes(kDumpSize);
        for (int i = 0; i < kDumpSize; ++i)
            dumpBytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 31);
        const std::vector<proto::Packet> chunks =
            proto::makeReport(ReportData, 5, 0, DataFullDump, dumpBytes.data(), dumpBytes.size());
        QCOMPARE(int(chunks.size()), 128);
        const std::uint8_t battery[2] = {77, 1};
        const proto::Packet single = proto::makeReport(ReportBattery, 6, 0, 0, battery, 2).front();
        proto::Reassembler assembler;
        int next = 0, got = 0, length = -1;
        proto::Report report;
        for (const QChar c : plan) {
            proto::Packet p;
            switch (c.toLatin1()) {
            case 'd':
                p = chunks[static_cast<std::size_t>(next++ % 128)];
                break;
            case 'x':
                ++next;
                continue;
            case 'r':
                p = chunks[static_cast<std::size_t>(next - 1)];
                break;
            case 's':
                p = single;
                break;
            case 'q':
                p = chunks[static_cast<std::size_t>(next++)];
                p.bytes[2] = 99;
                break;
            case '0':
                next = 0;
                p = chunks[static_cast<std::size_t>(next++)];
                break;
            }
            if (assembler.feed(p, &report)) {
                ++got;
                length = static_cast<int>(report.payload.size());
                if (length == kDumpSize)
                    QVERIFY(report.payload == dumpBytes);
            }
        }
        QCOMPARE(got, reports);
        QCOMPARE(length, lastLength);
    }
};

VELMORAX_TEST_GUILESS_MAIN(TestHidUsbRecord)
#include "tst_hidusb_record.moc"
