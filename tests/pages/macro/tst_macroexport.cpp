// Macro export and import on the macro page: the export file's exact layout,
// a round trip into another computer's empty macro folder, and a table of
// files the import must refuse without adding or writing anything.

#include "app/textcatalogue.h"
#include "pages/macro/macro.h"
#include "pages/macro/macroflags.h"
#include "pages/macro/macrostore.h"
#include "support/testmain.h"

#include "support/filesizelimit.h"
#include "support/filetouch.h"
#include "support/macrofixture.h"
#include "support/modalhandler.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QListWidget>
#include <QPixmap>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using macrotest::emptyFolder;
using macrotest::folder;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList texts(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QByteArray field(const QByteArray &text, int size)
{
    QByteArray f = text.left(size);
    return f + QByteArray(size - f.size(), '\0');
}

// An export file written field by field, independently of the program's
// writer. A key item's marker is "0" (press) or "1" (release); an empty
// marker writes none (pauses). The icon's bytes stand as given; none give
// a null icon.
struct FileItem
{
    QString text;
    QByteArray marker;
    QByteArray icon = {};
};

QByteArray exportFile(const QByteArray &tag, const QByteArray &name, const QByteArray &mode,
                      const QVector<FileItem> &items, int count = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream s(&buffer);
    s.setVersion(17);
    s.writeBytes(field(tag, 12).constData(), 12);
    s.writeBytes(field(name, 48).constData(), 48);
    s.writeBytes(field(mode, 12).constData(), 12);
    s << qint32(count < 0 ? items.size() : count);
    for (const FileItem &item : items) {
        s << item.text;
        if (item.icon.isEmpty())
            s << QIcon();
        else
            s.writeRawData(item.icon.constData(), item.icon.size());
        if (!item.marker.isEmpty())
            s << item.marker.constData();
    }
    return bytes;
}

const QVector<FileItem> aClick{{"A", "0"}, {"10ms", {}}, {"A", "1"}};

// The stream form of anything the stream's operators write.
template <typename T>
QByteArray streamed(const T &value)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(17);
    s << value;
    return bytes;
}

// A PNG frame: the signature, then chunks of a type and data, each with a
// (dummy) checksum.
QByteArray png(const QVector<QPair<QByteArray, QByteArray>> &chunks)
{
    QByteArray bytes("\x89PNG\r\n\x1a\n");
    for (const auto &chunk : chunks)
        bytes += streamed(quint32(chunk.second.size())) + chunk.first + chunk.second + QByteArray(4, '\0');
    return bytes;
}

// An icon of the pixmap engine with one entry: a picture (none when
// `picture` is empty), the file it names, its size, mode and state.
QByteArray pixmapIcon(const QByteArray &picture, const QString &file, quint32 mode = 0, qint32 marker = -1,
                      qint32 entries = 1)
{
    QByteArray bytes = streamed(QString("QPixmapIconEngine")) + streamed(entries);
    bytes += streamed(marker >= 0 ? marker : qint32(picture.isEmpty() ? 0 : 1)) + picture;
    bytes += streamed(file) + streamed(QSize(16, 16)) + streamed(mode) + streamed(quint32(0));
    return bytes;
}

} // namespace

class MacroExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exportWritesTheLayout();
    void roundTripIntoAnEmptyFolder();
    void importRefuses_data();
    void importRefuses();
    void truncatedBetweenItemsKeepsWhatWasRead();
    void importShortensLongPauses_data();
    void importShortensLongPauses();
    void fileDialogsStartInTheHomeFolder();
    void exportWithoutSuffixGetsIni();
    void exportOnAFullDiskKeepsTheEarlierFile();
    void importPassesOverIcons_data();
    void importPassesOverIcons();
    void importOpensNoFileAnIconNames();

private:
    void makePage();
    // The page over a folder holding one macro file, with that macro opened.
    QListWidget *openOnly(const QString &name, const QByteArray &source);
    std::unique_ptr<Macro> page;
    QTemporaryDir files;
};

void MacroExportTest::initTestCase()
{
    loadTextCatalogue();
    languageIndex = 0;
    QVERIFY(files.isValid());
}

void MacroExportTest::init()
{
    QVERIFY(emptyFolder());
}

void MacroExportTest::cleanup()
{
    page.reset();
}

void MacroExportTest::makePage()
{
    page = std::make_unique<Macro>(nullptr);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
}

QListWidget *MacroExportTest::openOnly(const QString &name, const QByteArray &source)
{
    writeFile(folder() + "/" + name + ".ini", source);
    makePage();
    auto *list = page->findChild<QListWidget *>("listWidgetHong");
    list->setCurrentRow(0);
    page->on_listWidgetHong_clicked(list->currentIndex());
    return list;
}

void MacroExportTest::exportWritesTheLayout()
{
    openOnly("m", "3\n0x04 1 0\n10ms\n0x04 1 1\n");
    // The repeat boxes as shown, not as saved.
    page->findChild<QCheckBox *>("ReUntilLoose")->setChecked(true);

    const QString path = files.filePath("layout.ini");
    QVERIFY(page->exportMacroTo(path));

    QByteArray bytes = readFile(path);
    QDataStream s(&bytes, QIODevice::ReadOnly);
    s.setVersion(17);
    auto next = [&s](uint expectedLength) {
        char *raw = nullptr;
        uint length = 0;
        s.readBytes(raw, length);
        const QByteArray out(raw, int(length));
        delete[] raw;
        if (length != expectedLength)
            qWarning("field of %u bytes, expected %u", length, expectedLength);
        return out;
    };
    QCOMPARE(next(12), field("Derez", 12));
    QCOMPARE(next(48), field("m", 48));
    QCOMPARE(next(12), field("254", 12));
    qint32 count = 0;
    s >> count;
    QCOMPARE(count, 3);
    QStringList seen;
    for (int i = 0; i < count; ++i) {
        QString text;
        QIcon icon;
        s >> text >> icon;
        // The page's picture goes along, read as the icon operators read it.
        QVERIFY(!icon.isNull());
        seen << text;
        if (!text.contains("ms"))
            seen << QString::fromLatin1(next(2).toHex());
    }
    QCOMPARE(seen, (QStringList{"A", "3000", "10ms", "A", "3100"}));
    QVERIFY(s.atEnd());
    QCOMPARE(s.status(), QDataStream::Ok);
    // An export names no folder of the machine it was made on.
    const QString installed = QCoreApplication::applicationDirPath();
    QVERIFY(!bytes.contains(streamed(installed).mid(4)));
    QVERIFY(!bytes.contains(installed.toUtf8()));
}

void MacroExportTest::roundTripIntoAnEmptyFolder()
{
    const QByteArray source = "254\n0x04 1 0\n10ms\n0x02 0 0\n0x05 1 0\n25ms\n0x05 1 1\n0x02 0 1\n0x04 1 1\n";
    openOnly("Trip ä", source);
    const QStringList shown = texts(page->findChild<QListWidget *>("listWidgetKey"));
    const QString path = files.filePath("trip.ini");
    QVERIFY(page->exportMacroTo(path));
    page.reset();

    // Another computer: an empty macro folder, repeat boxes at a count of 7.
    init();
    makePage();
    page->findChild<QSpinBox *>("NumberEdit")->setValue(7);
    ModalHandler modal;
    QVERIFY(page->importMacroFrom(path));
    QCOMPARE(modal.seen, QStringList());
    QCOMPARE(texts(page->findChild<QListWidget *>("listWidgetHong")), QStringList{"Trip ä"});
    QCOMPARE(texts(page->findChild<QListWidget *>("listWidgetKey")), shown);
    QCOMPARE(readFile(folder() + "/Trip ä.ini"), source);
    QVERIFY(page->findChild<QCheckBox *>("ReNumber")->isChecked());
    QCOMPARE(page->findChild<QSpinBox *>("NumberEdit")->value(), 7);
}

void MacroExportTest::importRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("notice");

    QVector<FileItem> tooMany;
    for (int i = 0; i < 71; ++i)
        tooMany << FileItem{"A", i % 2 ? "1" : "0"};
    QVector<FileItem> seventy = tooMany.mid(0, 70);

    QTest::newRow("wrong tag") << exportFile("Derex", "n", "1", aClick) << "UpDateWarning";
    QTest::newRow("wrong tag, taken name") << exportFile("Derex", "taken", "1", aClick) << "UpDateWarning";
    QTest::newRow("taken name") << exportFile("Derez", "taken", "1", aClick) << "SameMacro";
    QTest::newRow("taken by a file the list lacks") << exportFile("Derez", "unlisted", "1", aClick) << "SameMacro";
    QTest::newRow("path in name") << exportFile("Derez", "../evil", "1", aClick) << "UpDateWarning";
    QTest::newRow("empty name") << exportFile("Derez", "", "1", aClick) << "UpDateWarning";
    QTest::newRow("hidden name") << exportFile("Derez", ".n", "1", aClick) << "UpDateWarning";
    QTest::newRow("mode 0") << exportFile("Derez", "n", "0", aClick) << "UpDateWarning";
    QTest::newRow("mode 251") << exportFile("Derez", "n", "251", aClick) << "UpDateWarning";
    QTest::newRow("mode 511") << exportFile("Derez", "n", "511", aClick) << "UpDateWarning";
    QTest::newRow("mode text") << exportFile("Derez", "n", "abc", aClick) << "UpDateWarning";
    QTest::newRow("71 key events") << exportFile("Derez", "n", "1", tooMany) << "KeyNumberLimit";
    QTest::newRow("pause not a number") << exportFile("Derez", "n", "1", {{"A", "0"}, {"1x0ms", {}}})
                                        << "UpDateWarning";
    QTest::newRow("unknown key") << exportFile("Derez", "n", "1", {{"NoSuchKey", "0"}}) << "UpDateWarning";
    QTest::newRow("item cut short") << exportFile("Derez", "n", "1", aClick).chopped(3) << "UpDateWarning";
    QTest::newRow("garbage") << QByteArray("\x00\x00\x00\x0cgarbage\xff\xff\xff\xff\xff", 16) << "UpDateWarning";
    QTest::newRow("empty file") << QByteArray() << "UpDateWarning";
    QTest::newRow("a text macro file") << QByteArray("1\n0x04 1 0\n0x04 1 1\n") << "UpDateWarning";
    // The edge that must still pass, to show the limit is not one too low.
    QTest::newRow("70 key events") << exportFile("Derez", "n", "1", seventy) << "";
}

void MacroExportTest::importRefuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, notice);
    writeFile(folder() + "/taken.ini", "1\n");
    makePage();
    writeFile(folder() + "/unlisted.ini", "2\n");
    const QString path = files.filePath("refused.ini");
    writeFile(path, bytes);
    const QStringList before = QDir(folder()).entryList(QDir::Files | QDir::Hidden);

    ModalHandler modal;
    const bool imported = page->importMacroFrom(path);
    auto *list = page->findChild<QListWidget *>("listWidgetHong");
    if (notice.isEmpty()) {
        QVERIFY(imported);
        QCOMPARE(page->findChild<QListWidget *>("listWidgetKey")->count(), 70);
        return;
    }
    QVERIFY(!imported);
    QCOMPARE(modal.seen, QStringList{notice});
    QCOMPARE(texts(list), QStringList{"taken"});
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), before);
    QCOMPARE(readFile(folder() + "/taken.ini"), QByteArray("1\n"));
    QVERIFY(!QFile::exists(folder() + "/../evil.ini"));
}

void MacroExportTest::truncatedBetweenItemsKeepsWhatWasRead()
{
    makePage();
    const QString path = files.filePath("short.ini");
    // The count promises five items; the data holds three whole ones.
    writeFile(path, exportFile("Derez", "short", "2", aClick, 5));
    QVERIFY(page->importMacroFrom(path));
    QCOMPARE(texts(page->findChild<QListWidget *>("listWidgetKey")), (QStringList{"A", "10ms", "A"}));
    QCOMPARE(readFile(folder() + "/short.ini"), QByteArray("2\n0x04 1 0\n10ms\n0x04 1 1\n"));
}

void MacroExportTest::importShortensLongPauses_data()
{
    QTest::addColumn<QString>("pause");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("told");
    QTest::newRow("at the limit") << "2097151ms"
                                  << "2097151ms" << false;
    QTest::newRow("one past it") << "2097152ms"
                                 << "2097151ms" << true;
    QTest::newRow("nine digits") << "999999999ms"
                                 << "2097151ms" << true;
}

// The mouse holds pauses of at most 2097151 ms and refuses a whole record
// with a longer one.
void MacroExportTest::importShortensLongPauses()
{
    QFETCH(QString, pause);
    QFETCH(QString, shown);
    QFETCH(bool, told);
    makePage();
    const QString path = files.filePath("long.ini");
    writeFile(path, exportFile("Derez", "long", "1", {{"A", "0"}, {pause, {}}, {"A", "1"}}));
    ModalHandler modal;
    QStringList notices;
    modal.queue(macrotest::keepText(&notices));
    QVERIFY(page->importMacroFrom(path));
    QCOMPARE(texts(page->findChild<QListWidget *>("listWidgetKey")), (QStringList{"A", shown, "A"}));
    QCOMPARE(readFile(folder() + "/long.ini"), "1\n0x04 1 0\n" + shown.toLatin1() + "\n0x04 1 1\n");
    QCOMPARE(notices, told ? QStringList{catalogueText("macro", "DialogPauseShortened")} : QStringList());
}

// The dialogs were given "G:" as their folder: here that is no folder, so
// the save dialog offered "G:" as the file name in the working folder.
void MacroExportTest::fileDialogsStartInTheHomeFolder()
{
    auto *list = openOnly("m", "1\n0x04 1 0\n10ms\n0x04 1 1\n");

    QStringList folders;
    QStringList names;
    ModalHandler modal;
    const auto look = [&](QDialog *dialog) {
        auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(fileDialog);
        folders << fileDialog->directory().absolutePath();
        names << fileDialog->selectedFiles().value(0);
        dialog->reject();
    };
    modal.queue(look);
    modal.queue(look);
    page->ExPortMacro();
    page->InPortMacro();

    QCOMPARE(folders, (QStringList{QDir::homePath(), QDir::homePath()}));
    for (const QString &name : names)
        QVERIFY2(!name.endsWith("G:"), qPrintable(name));
    // Cancelled: nothing written, nothing added.
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList{"m.ini"});
    QCOMPARE(list->count(), 1);
}

// The save dialog adds no suffix; the import dialog lists "*.ini" only.
void MacroExportTest::exportWithoutSuffixGetsIni()
{
    openOnly("m", "1\n0x04 1 0\n10ms\n0x04 1 1\n");

    QVERIFY(page->exportMacroTo(files.filePath("plain")));
    QVERIFY(QFile::exists(files.filePath("plain.ini")));
    QVERIFY(!QFile::exists(files.filePath("plain")));
    QVERIFY(page->exportMacroTo(files.filePath("named.macro")));
    QVERIFY(QFile::exists(files.filePath("named.macro")));
}

// A full disk once left an empty file in place of the earlier export and
// reported success; a killed export left its temporary copy for good.
void MacroExportTest::exportOnAFullDiskKeepsTheEarlierFile()
{
    openOnly("m", "1\n0x04 1 0\n10ms\n0x04 1 1\n");
    QTemporaryDir out;
    QVERIFY(out.isValid());
    const QString path = out.filePath("full.ini");
    writeFile(path, "earlier");
    touch(out.filePath("full.ini.Ab12cd"), QDateTime::currentDateTime().addSecs(-3600));

    ModalHandler modal;
    QStringList notices;
    modal.queue(macrotest::keepText(&notices));
    {
        FileSizeLimit full(16);
        QVERIFY(full.active());
        QVERIFY(!page->exportMacroTo(path));
    }
    QCOMPARE(notices, QStringList{catalogueText("macro", "DialogMacroExportFailed")});
    QCOMPARE(readFile(path), QByteArray("earlier"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"full.ini"});

    // With room again it is written whole.
    QVERIFY(page->exportMacroTo(path));
    QVERIFY(readFile(path).size() > 100);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"full.ini"});
    QCOMPARE(modal.seen.size(), 1);
}

void MacroExportTest::importPassesOverIcons_data()
{
    QTest::addColumn<QByteArray>("icon");
    QTest::addColumn<bool>("accepted");

    const QString picture = QCoreApplication::applicationDirPath() + "/Picture/Macro/MacroDown.png";
    QVERIFY(QFile::exists(picture));
    const QByteArray header = png({{"IHDR", QByteArray::fromHex("00001000000010000806000000")}});
    const QByteArray end = png({{"IEND", {}}}).mid(8);
    // Its data decodes to nothing: an importer that decodes refuses it.
    const QByteArray undecodable = header + png({{"IDAT", QByteArray(64, 'x')}}).mid(8) + end;

    QTest::newRow("null icon") << streamed(QIcon()) << true;
    QTest::newRow("picture and install path, as exported before") << streamed(QIcon(picture)) << true;
    QTest::newRow("picture only") << streamed(QIcon(QPixmap(picture))) << true;
    QTest::newRow("picture is not decoded") << pixmapIcon(undecodable, QString()) << true;
    QTest::newRow("a file named, no picture") << pixmapIcon({}, "/no/such/picture.png") << true;
    QTest::newRow("no entries") << pixmapIcon({}, {}, 0, 0, 0).left(streamed(QString("QPixmapIconEngine")).size() + 4)
                                << true;

    QTest::newRow("theme icon engine") << streamed(QString("QIconLoaderEngine")) + streamed(QString("edit-copy"))
                                       << false;
    QTest::newRow("unknown engine") << streamed(QString("NoSuchEngine")) << false;
    QTest::newRow("negative entry count") << pixmapIcon({}, {}, 0, -1, -1) << false;
    QTest::newRow("entry count too large") << pixmapIcon({}, {}, 0, -1, 100000) << false;
    QTest::newRow("picture marker 2") << pixmapIcon(undecodable, {}, 0, 2) << false;
    QTest::newRow("not a PNG") << pixmapIcon(QByteArray("GIF89a") + QByteArray(40, '\0'), {}) << false;
    QTest::newRow("PNG without its end") << pixmapIcon(header, {}) << false;
    QTest::newRow("chunk longer than the file")
        << pixmapIcon(header.left(8) + streamed(quint32(0x7fffffff)) + "IDAT", {}) << false;
    QTest::newRow("chunk type not letters") << pixmapIcon(png({{"ID?T", "x"}}) + end, {}) << false;
    QTest::newRow("mode out of range") << pixmapIcon(undecodable, {}, 4) << false;
}

// The page draws its own icons: what the file's icons hold is passed over,
// never decoded, and a file whose icon is not well-formed is refused.
void MacroExportTest::importPassesOverIcons()
{
    QFETCH(QByteArray, icon);
    QFETCH(bool, accepted);
    makePage();
    const QString path = files.filePath("icons.ini");
    writeFile(path, exportFile("Derez", "icons", "1", {{"A", "0", icon}, {"10ms", {}, icon}, {"A", "1", icon}}));
    ModalHandler modal;
    QCOMPARE(page->importMacroFrom(path), accepted);
    if (accepted) {
        QCOMPARE(modal.seen, QStringList());
        QCOMPARE(texts(page->findChild<QListWidget *>("listWidgetKey")), (QStringList{"A", "10ms", "A"}));
        QCOMPARE(readFile(folder() + "/icons.ini"), QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n"));
    } else {
        QCOMPARE(modal.seen, QStringList{"UpDateWarning"});
        QCOMPARE(page->findChild<QListWidget *>("listWidgetHong")->count(), 0);
        QVERIFY(!QFile::exists(folder() + "/icons.ini"));
    }
}

// An icon entry naming a FIFO once blocked the program for good: opening it
// waits for a writer that never comes.
void MacroExportTest::importOpensNoFileAnIconNames()
{
    makePage();
    const QString fifo = files.filePath("pipe.png");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString path = files.filePath("fifo.ini");
    writeFile(path, exportFile("Derez", "fifo", "1", {{"A", "0", pixmapIcon({}, fifo)}}));

    // Plays the writer while the import runs: a reader waiting on the FIFO
    // is let go, and seen.
    std::atomic<bool> done{false};
    std::atomic<bool> opened{false};
    std::thread writer([&] {
        const QByteArray name = QFile::encodeName(fifo);
        while (!done) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                opened = true;
                ::close(fd);
            }
            std::this_thread::yield();
        }
    });
    const bool imported = page->importMacroFrom(path);
    done = true;
    writer.join();
    QFile::remove(fifo);
    QVERIFY(!opened);
    QVERIFY(imported);
}

VELMORAX_TEST_MAIN(MacroExportTest)
#include "tst_macroexport.moc"
