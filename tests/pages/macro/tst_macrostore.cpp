// Macro files: the name check, the folder listing, reading (line ends,
// malformed lines, unknown codes, damaged and oversized files), the exact
// text written, and the file operations with their results.

#include "pages/macro/macrokeynames.h"
#include "pages/macro/macrostore.h"
#include "platform/hidusb/hidusb.h"
#include "support/filesizelimit.h"
#include "support/testmain.h"

#include <algorithm>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(MacroStore::NameProblem)
Q_DECLARE_METATYPE(QVector<MacroEvent>)

namespace {

using MacroStore::NameProblem;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

MacroEvent press(int kind, int code)
{
    return MacroEvent::key(kind, code, true);
}
MacroEvent release(int kind, int code)
{
    return MacroEvent::key(kind, code, false);
}
MacroEvent pause(quint32 ms)
{
    return MacroEvent::delay(ms);
}

char *describe(const QVector<MacroEvent> &events)
{
    QByteArray text;
    for (const MacroEvent &e : events) {
        if (e.isDelay())
            text += QByteArray::number(e.delayMs) + "ms ";
        else
            text += (e.type == MacroEvent::Press ? "P" : "R") + QByteArray::number(e.kind) + ":"
                    + QByteArray::number(e.code, 16) + " ";
    }
    return qstrdup(text.constData());
}

} // namespace

namespace QTest {
template <>
char *toString(const QVector<MacroEvent> &events)
{
    return describe(events);
}
} // namespace QTest

class MacroStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void nameCheck_data();
    void nameCheck();
    void cutToUtf8Bytes_data();
    void cutToUtf8Bytes();
    void listingTakesIniFilesOnly();
    void repeatModeLine_data();
    void repeatModeLine();
    void parseLines_data();
    void parseLines();
    void emptyFileHasNoModeLine();
    void formatIsExact_data();
    void formatIsExact();
    void roundTripIsByteForByte();
    void damagedFilesAreReadSafely();
    void oversizedFileIsRefused();
    void unsafeNamesMakeNoFile_data();
    void unsafeNamesMakeNoFile();
    void renameReportsWhatHappened();
    void removeReportsWhatHappened();
    void appendAddsToExistingFileOnly();
    void failedSaveKeepsOldFile();
    void recordFromEvents();
    void recordBoundsAndName();
    void eventsFromRecord();
};

void MacroStoreTest::nameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<NameProblem>("problem");
    QTest::newRow("plain") << "Macro1" << NameProblem::None;
    QTest::newRow("inner space") << "a b" << NameProblem::None;
    QTest::newRow("chinese") << QString::fromUtf8("宏一") << NameProblem::None;
    QTest::newRow("inner dots") << "a..b" << NameProblem::None;
    QTest::newRow("trailing dot") << "name." << NameProblem::None;
    QTest::newRow("xml inside") << "myxml" << NameProblem::None;
    QTest::newRow("30 bytes") << QString(30, 'a') << NameProblem::None;
    QTest::newRow("10 chinese = 30 bytes") << QString(10, QChar(0x4E2D)) << NameProblem::None;
    QTest::newRow("empty") << "" << NameProblem::Empty;
    QTest::newRow("slash") << "a/b" << NameProblem::PathSeparator;
    QTest::newRow("parent escape") << "../evil" << NameProblem::PathSeparator;
    QTest::newRow("backslash") << "a\\b" << NameProblem::PathSeparator;
    QTest::newRow("NUL") << QString::fromLatin1("a\0b", 3) << NameProblem::ControlCharacter;
    QTest::newRow("line feed") << "a\nb" << NameProblem::ControlCharacter;
    QTest::newRow("tab") << "a\tb" << NameProblem::ControlCharacter;
    QTest::newRow("DEL") << QString("a") + QChar(0x7F) << NameProblem::ControlCharacter;
    QTest::newRow("C1 control") << QString("a") + QChar(0x85) << NameProblem::ControlCharacter;
    QTest::newRow("line separator") << QString("a") + QChar(0x2028) << NameProblem::ControlCharacter;
    QTest::newRow("dot") << "." << NameProblem::DotName;
    QTest::newRow("dot dot") << ".." << NameProblem::DotName;
    QTest::newRow("hidden") << ".hidden" << NameProblem::LeadingDot;
    QTest::newRow("31 bytes") << QString(31, 'a') << NameProblem::TooLong;
    QTest::newRow("11 chinese = 33 bytes") << QString(11, QChar(0x4E2D)) << NameProblem::TooLong;
}

void MacroStoreTest::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(NameProblem, problem);
    QCOMPARE(MacroStore::checkName(name), problem);
    QCOMPARE(MacroStore::filePath("/f", name).isEmpty(), problem != NameProblem::None);
}

void MacroStoreTest::cutToUtf8Bytes_data()
{
    const QString zhong(QChar(0x4E2D));                     // 3 bytes
    const QString smile = QString::fromUcs4(U"\U0001F600"); // 4 bytes, two UTF-16 units
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short stays") << "abc"
                                 << "abc";
    QTest::newRow("40 ascii") << QString(40, 'x') << QString(30, 'x');
    QTest::newRow("29 ascii + chinese") << QString(29, 'x') + zhong << QString(29, 'x');
    QTest::newRow("27 ascii + chinese fits") << QString(27, 'x') + zhong << QString(27, 'x') + zhong;
    QTest::newRow("15 chinese") << zhong.repeated(15) << zhong.repeated(10);
    QTest::newRow("emoji not split") << QString(28, 'x') + smile << QString(28, 'x');
    QTest::newRow("emoji fits") << QString(26, 'x') + smile + "y" << QString(26, 'x') + smile;
}

void MacroStoreTest::cutToUtf8Bytes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString cut = MacroStore::cutToUtf8Bytes(text);
    QCOMPARE(cut, expected);
    QVERIFY(cut.toUtf8().size() <= MacroStore::nameMaxBytes);
}

void MacroStoreTest::listingTakesIniFilesOnly()
{
    QTemporaryDir dir;
    const QString f = dir.path();
    for (const char *name :
         {"b.ini", "A.ini", "c.xml", "notes.txt", "x.ini.ini", "myxml.ini", ".hidden.ini", "UPPER.INI", "ini"})
        writeFile(f + "/" + name, "1\n");
    writeFile(f + "/" + QString(31, 'l') + ".ini", "1\n"); // a name no macro can have
    QVERIFY(QDir(f).mkdir("folder.ini"));
    QVERIFY(QFile::link(f + "/b.ini", f + "/link.ini"));

    QCOMPARE(MacroStore::listNames(f), (QStringList{"A", "b", "myxml", "x.ini"}));
    QCOMPARE(MacroStore::listNames(f + "/missing"), QStringList());
}

void MacroStoreTest::repeatModeLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("mode");
    QTest::newRow("0") << QByteArray("0") << 1;
    QTest::newRow("251") << QByteArray("251") << 1;
    QTest::newRow("252") << QByteArray("252") << 1;
    QTest::newRow("-5") << QByteArray("-5") << 1;
    QTest::newRow("abc") << QByteArray("abc") << 1;
    QTest::newRow("empty") << QByteArray("") << 1;
    QTest::newRow("1") << QByteArray("1") << 1;
    QTest::newRow("250") << QByteArray("250") << 250;
    QTest::newRow("253") << QByteArray("253") << 253;
    QTest::newRow("254") << QByteArray("254") << 254;
    QTest::newRow("255") << QByteArray("255") << 255;
    QTest::newRow("blanks around") << QByteArray("  7 \t") << 7;
    QTest::newRow("spaces only") << QByteArray("   ") << 1;
    QTest::newRow("first field") << QByteArray("3 extra") << 3;
    QTest::newRow("huge") << QByteArray("99999999999999") << 1;
}

void MacroStoreTest::repeatModeLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, mode);
    QCOMPARE(MacroStore::repeatModeFromLine(line), mode);
    // The first line of a file is read the same way.
    const MacroStore::Contents c = MacroStore::parse(line + "\n0x04 1 0\n");
    QVERIFY(c.hasModeLine);
    QCOMPARE(c.repeatMode, mode);
    QCOMPARE(c.events.size(), 1);
}

void MacroStoreTest::parseLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<MacroEvent>>("events");
    QTest::addColumn<int>("skipped");

    const QVector<MacroEvent> aPressRelease{press(1, 0x04), pause(10), release(1, 0x04)};
    QTest::newRow("LF") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << aPressRelease << 0;
    QTest::newRow("CRLF") << QByteArray("3\r\n0x04 1 0\r\n10ms\r\n0x04 1 1\r\n") << aPressRelease << 0;
    QTest::newRow("last event without line end") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1") << aPressRelease << 0;
    QTest::newRow("last event CRLF without line end")
        << QByteArray("3\r\n0x04 1 0\r\n10ms\r\n0x04 1 1") << aPressRelease << 0;
    QTest::newRow("last delay without line end")
        << QByteArray("3\n0x04 1 0\n25ms") << QVector<MacroEvent>{press(1, 0x04), pause(25)} << 0;
    QTest::newRow("several spaces between fields")
        << QByteArray("1\n0x04  1   0\n 10ms \n") << QVector<MacroEvent>{press(1, 0x04), pause(10)} << 0;
    QTest::newRow("tabs and trailing blanks")
        << QByteArray("3\n0x04\t1 0 \n10ms\t\n0x04 1 1\t\n") << aPressRelease << 0;
    QTest::newRow("release with trailing blanks before CRLF")
        << QByteArray("3\r\n0x04 1 0\r\n10ms\r\n0x04 1 1 \t\r\n") << aPressRelease << 0;
    QTest::newRow("modifier and mouse") << QByteArray("1\n0x02 0 0\n0x01 4 1\n")
                                        << QVector<MacroEvent>{press(0, 0x02), release(4, 0x01)} << 0;
    QTest::newRow("unknown codes kept") << QByteArray("1\n0x32 1 0\n0x20 2 1\n0xFF 9 0\n")
                                        << QVector<MacroEvent>{press(1, 0x32), release(2, 0x20), press(9, 0xFF)} << 0;
    QTest::newRow("lower-case hex") << QByteArray("1\n0x0a 1 0\n") << QVector<MacroEvent>{press(1, 0x0A)} << 0;
    QTest::newRow("large delay") << QByteArray("1\n4294967295ms\n") << QVector<MacroEvent>{pause(4294967295u)} << 0;
    QTest::newRow("malformed lines skipped") << QByteArray("1\n"
                                                           "0x04 1\n"       // two fields
                                                           "0x04 1 2\n"     // no such action
                                                           "0x04 1 0 0\n"   // four fields
                                                           "0x4 1 0\n"      // one hex digit
                                                           "0x+4 1 0\n"     // sign in the code
                                                           "0xZZ 1 0\n"     // not hex
                                                           "04 1 0\n"       // no 0x
                                                           "0x04 -1 0\n"    // negative kind
                                                           "0x04 x 0\n"     // kind not a number
                                                           "0x04 256 0\n"   // kind beyond a byte
                                                           "abc\n"          // a word that is no delay
                                                           "10 ms\n"        // split delay: two fields
                                                           "ms\n"           // no number
                                                           "-5ms\n"         // sign
                                                           "10MS\n"         // wrong unit
                                                           "4294967296ms\n" // beyond 32 bits
                                                           "\n"             // empty
                                                           "0x05 1 0\n")
                                             << QVector<MacroEvent>{press(1, 0x05)} << 17;
    QTest::newRow("NUL ends its line") << QByteArray("1\n0x04 1 0\0garbage\n10ms\n", 24)
                                       << QVector<MacroEvent>{press(1, 0x04), pause(10)} << 0;
}

void MacroStoreTest::parseLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<MacroEvent>, events);
    QFETCH(int, skipped);
    const MacroStore::Contents c = MacroStore::parse(bytes);
    QVERIFY(c.hasModeLine);
    QCOMPARE(c.events, events);
    QCOMPARE(c.skippedLines, skipped);
}

void MacroStoreTest::emptyFileHasNoModeLine()
{
    QTemporaryDir dir;
    writeFile(dir.path() + "/new.ini", "");
    MacroStore::Contents c;
    QCOMPARE(MacroStore::load(dir.path(), "new", &c), MacroStore::LoadResult::Loaded);
    QVERIFY(!c.hasModeLine);
    QVERIFY(c.events.isEmpty());
    QCOMPARE(MacroStore::load(dir.path(), "absent", &c), MacroStore::LoadResult::Missing);
    QCOMPARE(MacroStore::load(dir.path(), "../new", &c), MacroStore::LoadResult::BadName);
}

void MacroStoreTest::formatIsExact_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QVector<MacroEvent>>("events");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("press and release A, three times")
        << 3 << QVector<MacroEvent>{press(1, 0x04), pause(10), release(1, 0x04)}
        << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n");
    QTest::newRow("empty list") << 255 << QVector<MacroEvent>{} << QByteArray("255\n");
    QTest::newRow("all kinds") << 254
                               << QVector<MacroEvent>{press(0, 0x80), pause(0), press(4, 0x10), pause(65535),
                                                      release(1, 0x65)}
                               << QByteArray("254\n0x80 0 0\n0ms\n0x10 4 0\n65535ms\n0x65 1 1\n");
    QTest::newRow("code zero, delay last")
        << 1 << QVector<MacroEvent>{press(1, 0x00), pause(7)} << QByteArray("1\n0x00 1 0\n7ms\n");
}

void MacroStoreTest::formatIsExact()
{
    QFETCH(int, mode);
    QFETCH(QVector<MacroEvent>, events);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(MacroStore::save(dir.path(), "m", mode, events));
    QCOMPARE(readFile(dir.path() + "/m.ini"), bytes);
}

void MacroStoreTest::roundTripIsByteForByte()
{
    const QByteArray original = "253\n0x02 0 0\n12ms\n0x04 1 0\n87ms\n0x04 1 1\n3ms\n0x02 0 1\n"
                                "0x32 1 0\n10ms\n0x20 2 1\n0x01 4 0\n10ms\n0x01 4 1\n";
    QTemporaryDir dir;
    writeFile(dir.path() + "/rt.ini", original);
    MacroStore::Contents c;
    QCOMPARE(MacroStore::load(dir.path(), "rt", &c), MacroStore::LoadResult::Loaded);
    QCOMPARE(c.skippedLines, 0);
    QVERIFY(MacroStore::save(dir.path(), "rt", c.repeatMode, c.events));
    QCOMPARE(readFile(dir.path() + "/rt.ini"), original);
}

void MacroStoreTest::damagedFilesAreReadSafely()
{
    // Truncated mid-line, binary garbage, a file of line ends only.
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += char((i * 7919 + 13) & 0xFF);
    for (const QByteArray &bytes : {QByteArray("3\n0x04 1 0\n10m"), QByteArray("3\n0x0"), garbage,
                                    QByteArray(1000, '\n'), QByteArray(1000, '\r')}) {
        const MacroStore::Contents c = MacroStore::parse(bytes);
        QVERIFY(c.hasModeLine);
        QVERIFY(c.repeatMode >= 1 && c.repeatMode <= 255);
        for (const MacroEvent &e : c.events)
            QVERIFY(e.isDelay() || (e.code >= 0 && e.code <= 0xFF && e.kind >= 0 && e.kind <= 0xFF));
    }
    QCOMPARE(MacroStore::parse("3\n0x04 1 0\n10m").events, (QVector<MacroEvent>{press(1, 0x04)}));
}

void MacroStoreTest::oversizedFileIsRefused()
{
    QTemporaryDir dir;
    QByteArray big = "1\n";
    while (big.size() <= MacroStore::maxFileBytes)
        big += "0x04 1 0\n10ms\n";
    writeFile(dir.path() + "/big.ini", big);
    MacroStore::Contents c;
    c.events << press(1, 4);
    QCOMPARE(MacroStore::load(dir.path(), "big", &c), MacroStore::LoadResult::TooLarge);
    QVERIFY(c.events.isEmpty());
    QVERIFY(!MacroStore::appendEvents(dir.path(), "big", {press(1, 5)}));
    QCOMPARE(readFile(dir.path() + "/big.ini"), big);
}

void MacroStoreTest::unsafeNamesMakeNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../outside";
    QTest::newRow("absolute") << "/tmp/outside";
    QTest::newRow("backslash") << "..\\outside";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("hidden") << ".outside";
    QTest::newRow("NUL") << QString::fromLatin1("out\0side", 8);
    QTest::newRow("too long") << QString(31, 'o');
}

void MacroStoreTest::unsafeNamesMakeNoFile()
{
    QFETCH(QString, name);
    QTemporaryDir root;
    const QString folder = root.path() + "/MacroPage";
    QVERIFY(QDir().mkpath(folder));
    writeFile(folder + "/ok.ini", "1\n");

    QVERIFY(!MacroStore::save(folder, name, 1, {press(1, 4)}));
    QVERIFY(!MacroStore::createEmpty(folder, name));
    QVERIFY(!MacroStore::appendEvents(folder, name, {press(1, 4)}));
    QCOMPARE(MacroStore::rename(folder, "ok", name), MacroStore::FileOpResult::BadName);
    QCOMPARE(MacroStore::remove(folder, name), MacroStore::FileOpResult::BadName);

    // Nothing was made anywhere: the folder holds only what it held, and
    // nothing appeared beside it.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"ok.ini"});
    QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"MacroPage"});
    QVERIFY(!QFile::exists("/tmp/outside.ini"));
}

void MacroStoreTest::renameReportsWhatHappened()
{
    using R = MacroStore::FileOpResult;
    QTemporaryDir dir;
    const QString f = dir.path();
    writeFile(f + "/a.ini", "1\n0x04 1 0\n");
    writeFile(f + "/b.ini", "2\n");

    QCOMPARE(MacroStore::rename(f, "a", "b"), R::TargetExists);
    QCOMPARE(readFile(f + "/a.ini"), QByteArray("1\n0x04 1 0\n"));
    QCOMPARE(readFile(f + "/b.ini"), QByteArray("2\n"));

    QCOMPARE(MacroStore::rename(f, "a", "c"), R::Done);
    QVERIFY(!QFile::exists(f + "/a.ini"));
    QCOMPARE(readFile(f + "/c.ini"), QByteArray("1\n0x04 1 0\n"));

    // A macro whose file is gone has nothing to move.
    QCOMPARE(MacroStore::rename(f, "gone", "new"), R::Done);
    QVERIFY(!QFile::exists(f + "/new.ini"));
    // ... but must not take the name of a file that exists.
    QCOMPARE(MacroStore::rename(f, "gone", "b"), R::TargetExists);
}

void MacroStoreTest::removeReportsWhatHappened()
{
    using R = MacroStore::FileOpResult;
    QTemporaryDir dir;
    writeFile(dir.path() + "/a.ini", "1\n");
    QCOMPARE(MacroStore::remove(dir.path(), "a"), R::Done);
    QVERIFY(!QFile::exists(dir.path() + "/a.ini"));
    QCOMPARE(MacroStore::remove(dir.path(), "a"), R::Done);
    // A folder in place of the file cannot be removed as a file.
    QVERIFY(QDir(dir.path()).mkdir("d.ini"));
    QCOMPARE(MacroStore::remove(dir.path(), "d"), R::Failed);
}

void MacroStoreTest::appendAddsToExistingFileOnly()
{
    QTemporaryDir dir;
    const QString f = dir.path();
    const QVector<MacroEvent> events{press(4, 0x01), pause(30), release(4, 0x01)};

    QVERIFY(!MacroStore::appendEvents(f, "none", events));
    QVERIFY(!QFile::exists(f + "/none.ini"));

    writeFile(f + "/m.ini", "255\n");
    QVERIFY(MacroStore::appendEvents(f, "m", events));
    QCOMPARE(readFile(f + "/m.ini"), QByteArray("255\n0x01 4 0\n30ms\n0x01 4 1\n"));

    // A mode line written without its line end still gets a line of its own.
    writeFile(f + "/n.ini", "7");
    QVERIFY(MacroStore::appendEvents(f, "n", {press(1, 0x2C)}));
    QCOMPARE(readFile(f + "/n.ini"), QByteArray("7\n0x2C 1 0\n"));
}

void MacroStoreTest::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(!MacroStore::save(dir.path() + "/no-such-folder", "m", 1, {}));
    QVERIFY(!QFile::exists(dir.path() + "/no-such-folder"));

    // A save whose file cannot be replaced (a folder stands in its place)
    // fails and leaves what was there.
    QVERIFY(QDir(dir.path()).mkdir("d.ini"));
    QVERIFY(!MacroStore::save(dir.path(), "d", 1, {press(1, 4)}));
    QVERIFY(QFileInfo(dir.path() + "/d.ini").isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"d.ini"});

    // A disk that fills up during the write: the old macro stays whole and
    // no temporary file is left beside it.
    const QByteArray old = "1\n0x04 1 0\n10ms\n0x04 1 1\n";
    QVERIFY(MacroStore::save(dir.path(), "full", 1, {press(1, 4), pause(10), release(1, 4)}));
    QCOMPARE(readFile(dir.path() + "/full.ini"), old);
    QVector<MacroEvent> many;
    for (int i = 0; i < 50; ++i)
        many << press(1, 5) << pause(1000) << release(1, 5) << pause(1000);
    {
        FileSizeLimit full(64);
        QVERIFY(full.active());
        QVERIFY(!MacroStore::save(dir.path(), "full", 2, many));
        QVERIFY(!MacroStore::appendEvents(dir.path(), "full", many));
    }
    QCOMPARE(readFile(dir.path() + "/full.ini"), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"d.ini", "full.ini"}));
}

void MacroStoreTest::recordFromEvents()
{
    // press A, 10 ms, release A, 50 ms, press LShift
    const MacroRecord r =
        MacroStore::toRecord("ab", {press(1, 0x04), pause(10), release(1, 0x04), pause(50), press(0, 0x02)});
    QCOMPARE(int(r.nameLength), 2);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(r.name), 30), QByteArray("ab") + QByteArray(28, '\0'));
    QCOMPARE(int(r.eventCount), 3);
    const int expected[3][4] = {{0, 1, 0x04, 10}, {1, 1, 0x04, 50}, {0, 0, 0x02, 0}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(int(r.events[i].action), expected[i][0]);
        QCOMPARE(int(r.events[i].kind), expected[i][1]);
        QCOMPARE(int(r.events[i].code), expected[i][2]);
        QCOMPARE(int(r.events[i].delay), expected[i][3]);
    }
    const unsigned char *rest = reinterpret_cast<const unsigned char *>(&r.events[3]);
    QVERIFY(std::all_of(rest, rest + sizeof(KeyEvent) * 67, [](unsigned char b) { return b == 0; }));

    // An empty list holds the name only; pauses in a row add up, a pause
    // before the first key has nothing to follow.
    QCOMPARE(int(MacroStore::toRecord("e", {}).eventCount), 0);
    const MacroRecord p = MacroStore::toRecord("p", {pause(5), press(4, 1), pause(10), pause(15), release(4, 1)});
    QCOMPARE(int(p.eventCount), 2);
    QCOMPARE(int(p.events[0].delay), 25);
    QCOMPARE(int(p.events[1].delay), 0);

    // Summed pauses stop at what the mouse holds: a record with more is
    // refused whole by the mouse.
    const MacroRecord l =
        MacroStore::toRecord("l", {press(1, 4), pause(2000000), pause(2000000), release(1, 4), pause(4294967295u)});
    QCOMPARE(quint32(l.events[0].delay), MacroStore::pauseMaxMs);
    QCOMPARE(quint32(l.events[1].delay), MacroStore::pauseMaxMs);
}

void MacroStoreTest::recordBoundsAndName()
{
    QVector<MacroEvent> many;
    for (int i = 0; i < 100; ++i)
        many << press(1, 4 + i % 26) << pause(1);
    const MacroRecord r = MacroStore::toRecord(QString(10, QChar(0x4E2D)), many);
    QCOMPARE(int(r.eventCount), MacroStore::recordEventMax);
    QCOMPARE(int(r.nameLength), 30);
    QCOMPARE(MacroStore::recordName(r), QString(10, QChar(0x4E2D)));
    // A longer name is cut on a character boundary.
    QCOMPARE(int(MacroStore::toRecord(QString(11, QChar(0x4E2D)), {}).nameLength), 30);

    MacroRecord raw;
    std::memset(&raw, 0, sizeof raw);
    std::memcpy(raw.name, "abc\0def", 7);
    QCOMPARE(MacroStore::recordName(raw), QString("abc"));
    std::memset(raw.name, 'z', 30); // no terminator in the field
    QCOMPARE(MacroStore::recordName(raw), QString(30, 'z'));
}

void MacroStoreTest::eventsFromRecord()
{
    MacroRecord r;
    std::memset(&r, 0, sizeof r);
    auto set = [&r](int i, int action, int kind, int code, int delay) {
        r.events[i].action = static_cast<unsigned char>(action);
        r.events[i].kind = static_cast<unsigned char>(kind);
        r.events[i].code = static_cast<std::uint16_t>(code);
        r.events[i].delay = static_cast<std::uint32_t>(delay);
    };
    set(0, 0, 4, 0x02, 30);  // right button press
    set(1, 1, 4, 0x02, 20);  // release
    set(2, 0, 1, 0x58, 7);   // keypad Enter: stored as Enter
    set(3, 0, 2, 0x0183, 5); // consumer usage: no file code, left out
    set(4, 0, 0, 0x40, 99);  // RAlt; the last pause is not shown
    r.eventCount = 5;
    QCOMPARE(MacroStore::recordEvents(r), (QVector<MacroEvent>{press(4, 0x02), pause(30), release(4, 0x02), pause(20),
                                                               press(1, 0x28), pause(12), press(0, 0x40)}));

    // A count beyond the record's slots reads its 70 slots only: 69 keys
    // (the consumer usage left out) with 68 pauses between them.
    r.eventCount = 200;
    QCOMPARE(MacroStore::recordEvents(r).size(), 69 + 68);
}

VELMORAX_TEST_GUILESS_MAIN(MacroStoreTest)
#include "tst_macrostore.moc"
