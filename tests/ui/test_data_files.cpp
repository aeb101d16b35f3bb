// "Open data", "Save data", "Save all data", "Save details" and the details restored at
// start-up, driven through the main window with scripted dialogs.
#include "data/measurement_store.h"
#include "data/sample_set.h"
#include "files/data_file.h"
#include "files/file_io.h"
#include "support/app_fixture.h"
#include "support/test_helpers.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

using namespace kelpra;
using kelpra::test::control;
using kelpra::test::here;
using kelpra::test::readFile;
using kelpra::test::AppFixture;

namespace {

const QString kNoNumber = QStringLiteral("Invalid numeric input.");


void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Station texts with Cyrillic, one of them empty.
QStringList stationTexts()
{
    return {QString::fromUtf8("Sailor RT4822 \xd0\xa4"), QStringLiteral("SN 0042"), QStringLiteral("Thrane"),
            QString::fromUtf8("\xd0\x9c\xd0\xbe\xd1\x80\xd1\x8f\xd0\xba"), QString(),
            QStringLiteral("500 GT"), QString::fromUtf8("\xd0\xa1\xd0\x9f\xd0\xb1, 1"),
            QStringLiteral("+7 812 555")};
}

void setStation(MainWindow &form, const QStringList &texts)
{
    for (int i = 0; i < 8; ++i)
        form.setFieldText(kStationFields[static_cast<size_t>(i)].field, texts[i]);
}

QStringList station(const MainWindow &form)
{
    QStringList texts;
    for (const CaptionedField &field : kStationFields)
        texts << form.fieldText(field.field);
    return texts;
}

// Every field the decoder of `slot` fills, with the counters and identification left out.
FieldTexts decodedFields(MainWindow &form, int slot)
{
    form.session().clearCallDisplay();
    test::SessionAccess::decode(form.session(), slot);
    FieldTexts texts = form.fieldTexts();
    for (Field name : {Field::Identification, Field::ReceivedCount, Field::CurrentRecord, Field::TotalRecords})
        texts.remove(name);
    // Which panel is shown, under a key no decoder writes.
    texts.insert(Field::Identification, form.distressShown() ? "distress shown" : "call shown");
    return texts;
}

QByteArray randomRecord(QRandomGenerator &rng, int length)
{
    QByteArray r;
    while (r.size() < length) {
        const char c = static_cast<char>(rng.bounded(256));
        if (!(c == '\n' && r.endsWith('\r')))
            r.append(c);
    }
    r[rng.bounded(length)] = '\0';
    r[rng.bounded(length)] = '\r';
    r[rng.bounded(length)] = '\n';
    r.replace("\r\n", "\r\r");
    // Both format specifiers alike, so that decoding shows no message; now and then 112.
    r[38] = r[39] = static_cast<char>(rng.bounded(3) == 0 ? 112 : rng.bounded(128));
    return r;
}

// Fills the store as a download would: identification line, records 1..n, count n.
void fill(AppFixture &f, const QList<QByteArray> &records)
{
    test::SessionAccess::hold(f.session(), QList<QByteArray>{sampleIdentificationLine()} + records,
                              int(records.size()));
}

QByteArray record(char lead, int length = 64)
{
    QByteArray r = sampleRecord(1);
    r.append(QByteArray(length - r.size(), 'x'));
    r[0] = lead;
    return r.left(length);
}

} // namespace

class TestDataFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void dialogsAreSetUp();
    void saveAllWithNothingHeldShowsNoDialog();
    void saveDataWithNothingHeldWritesTenLines();
    void cancelWritesAndReadsNothing();

    void roundTripFullSet_data();
    void roundTripFullSet();
    void roundTripSingleRecord_data();
    void roundTripSingleRecord();

    void countsUpTo255LedRecords();
    void singleLoadEmptiesDownloadedSlots();
    void nextNeverPassesTheCount_data();
    void nextNeverPassesTheCount();
    void emptySingleRecordFile();
    void longStationLinesAreNeverCut();
    void refusedFileLosesNothing_data();
    void refusedFileLosesNothing();
    void saveErrorIsShown();
    void saveWarnsOfWhatCannotComeBack_data();
    void saveWarnsOfWhatCannotComeBack();

    void detailsAtStartUp_data();
    void detailsAtStartUp();
    void saveDetailsRoundTrip();
    void saveDetailsFollowsCurrentDirectory();
    void saveDetailsError();

private:
    std::unique_ptr<test::WorkingDirectory> dir_;
};

void TestDataFiles::init()
{
    // Each test starts in an empty working directory of its own, without details.txt.
    dir_ = std::make_unique<test::WorkingDirectory>();
    QVERIFY(dir_->isValid());
}

void TestDataFiles::cleanup()
{
    dir_.reset();
}

void TestDataFiles::dialogsAreSetUp()
{
    AppFixture f;
    fill(f, {sampleRecord(1)});
    f.prompts.expectSaveFile(here(QStringLiteral("a.bin")));
    f.prompts.expectSaveFile(here(QStringLiteral("b.bin")));
    f.prompts.expectOpenFile(here(QStringLiteral("a.bin")));
    f.prompts.expectOpenFile(QString());
    f.mainWindow().files().saveData();
    f.mainWindow().files().saveAllData();
    f.mainWindow().files().openData();
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);

    QCOMPARE(f.prompts.shown.size(), 4);
    const FileDialogSetup save = f.prompts.shown[0].setup, saveAll = f.prompts.shown[1].setup;
    QCOMPARE(save.filter, QStringLiteral("*.bin"));
    QCOMPARE(save.defaultSuffix, QStringLiteral("bin"));
    QCOMPARE(save.proposedName, QStringLiteral("data"));
    QCOMPARE(saveAll.filter, QStringLiteral("*.bin"));
    QCOMPARE(saveAll.proposedName, QStringLiteral("alldata"));
    // "Open data" offers all files and proposes the name chosen last time.
    QCOMPARE(f.prompts.shown[2].setup.filter, QString());
    QCOMPARE(f.prompts.shown[2].setup.defaultSuffix, QStringLiteral("bin"));
    QCOMPARE(f.prompts.shown[3].setup.proposedName, here(QStringLiteral("a.bin")));
}

void TestDataFiles::saveAllWithNothingHeldShowsNoDialog()
{
    AppFixture f;
    const QString status = f.mainWindow().statusText();
    f.mainWindow().files().saveAllData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(f.prompts.shown.isEmpty());
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList());
    // Said beside the status line, which keeps its own text.
    QCOMPARE(control<QLabel>(f.mainWindow(), "FileMessage")->text(), QStringLiteral("Nothing to save: no record is held."));
    QCOMPARE(f.mainWindow().statusText(), status);
}

void TestDataFiles::saveDataWithNothingHeldWritesTenLines()
{
    AppFixture f;
    f.prompts.expectSaveFile(here(QStringLiteral("empty.bin")));
    f.mainWindow().files().saveData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    // Ten lines, then the integrity line (its checksum from python3's zlib.crc32).
    QCOMPARE(readFile(here(QStringLiteral("empty.bin"))),
             QByteArray("0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nkelpra-integrity 1 - 1 0 aeab9bcf\r\n"));
}

void TestDataFiles::cancelWritesAndReadsNothing()
{
    AppFixture f;
    fill(f, {sampleRecord(1)});
    f.session().decodeMessage();
    f.mainWindow().setFieldText(Field::FormatMeaning, QStringLiteral("typed"));
    f.prompts.expectSaveFile(QString());
    f.prompts.expectSaveFile(QString());
    f.prompts.expectOpenFile(QString());
    f.mainWindow().files().saveData();
    f.mainWindow().files().saveAllData();
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList());
    QCOMPARE(f.store().slot(0), sampleIdentificationLine());
    // The open was cancelled: the record held is shown again, as decoded, under its counters.
    QCOMPARE(f.mainWindow().fieldText(Field::FormatMeaning), QStringLiteral("Individual stations"));
    QCOMPARE(f.mainWindow().fieldText(Field::CurrentRecord), QStringLiteral("1"));
}

void TestDataFiles::roundTripFullSet_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QList<QByteArray> samples;
    for (int i = 1; i <= 16; ++i)
        samples << sampleRecord(i);
    QTest::newRow("sample set") << samples;
    QRandomGenerator rng(2024);
    for (int n = 1; n <= 15; ++n) {
        QList<QByteArray> records;
        for (int i = 0; i < n; ++i)
            records << (i % 3 == 0 ? sampleRecord(i + 1) : randomRecord(rng, 64 + rng.bounded(45)));
        QTest::addRow("%d records", n) << records;
    }
}

void TestDataFiles::roundTripFullSet()
{
    QFETCH(QList<QByteArray>, records);
    const int n = int(records.size());
    const QString path = here(QStringLiteral("alldata.bin"));

    AppFixture saver;
    fill(saver, records);
    setStation(saver.mainWindow(), stationTexts());
    saver.prompts.expectSaveFile(path);
    saver.mainWindow().files().saveAllData();
    KELPRA_VERIFY_PROMPTS(saver.prompts);
    const QByteArray saved = readFile(path);
    // "Save all data" leaves the typed RadioType alone.
    QCOMPARE(saver.mainWindow().fieldText(Field::RadioModel), stationTexts()[0]);

    AppFixture loader;
    loader.prompts.expectOpenFile(path);
    loader.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(loader.prompts);

    int counted = 0;
    for (const QByteArray &r : records)
        counted += r.left(3).contains('\xff') ? 0 : 1;
    QCOMPARE(loader.store().slot(0), QByteArray("GMDSS TESTER S/N (SAVED DATA) rev 2.5"));
    QCOMPARE(loader.store().recordCount(), counted);
    QCOMPARE(loader.store().displayIndex(), 1);
    QCOMPARE(loader.mainWindow().fieldText(Field::ReceivedCount), QString::number(counted));
    QCOMPARE(loader.mainWindow().fieldText(Field::TotalRecords), QString::number(counted));
    QCOMPARE(loader.mainWindow().fieldText(Field::CurrentRecord), QStringLiteral("1"));
    // Next only while there is a next record to show.
    QCOMPARE(control<QToolButton>(loader.mainWindow(), "Next")->isHidden(), counted <= 1);
    QVERIFY(control<QToolButton>(loader.mainWindow(), "Prev")->isHidden());
    QCOMPARE(station(loader.mainWindow()), stationTexts());

    for (int i = 1; i <= 16; ++i) {
        if (i > n) {
            QVERIFY(loader.store().slot(i).isEmpty());
            continue;
        }
        QCOMPARE(loader.store().slot(i), records[i - 1]);
        QCOMPARE(decodedFields(loader.mainWindow(), i), decodedFields(saver.mainWindow(), i));
    }

    // Saving the loaded set again gives the same bytes.
    const QString again = here(QStringLiteral("again.bin"));
    loader.prompts.expectSaveFile(again);
    loader.mainWindow().files().saveAllData();
    KELPRA_VERIFY_PROMPTS(loader.prompts);
    QCOMPARE(readFile(again), saved);
}

void TestDataFiles::roundTripSingleRecord_data()
{
    QTest::addColumn<QByteArray>("rec");
    QTest::addColumn<int>("displayIndex");
    for (int i = 1; i <= 16; ++i)
        QTest::addRow("sample %d", i) << sampleRecord(i) << i;
    QRandomGenerator rng(99);
    for (int len : {64, 80, 97, 98, 99, 100, 140})
        QTest::addRow("random, %d bytes", len) << randomRecord(rng, len) << 1 + rng.bounded(16);
}

void TestDataFiles::roundTripSingleRecord()
{
    QFETCH(QByteArray, rec);
    QFETCH(int, displayIndex);
    const QString path = here(QStringLiteral("data.bin"));

    AppFixture saver;
    QList<QByteArray> records;
    for (int i = 1; i <= 16; ++i)
        records << (i == displayIndex ? rec : record('a'));
    fill(saver, records);
    saver.store().setDisplayIndex(displayIndex);
    setStation(saver.mainWindow(), stationTexts());
    saver.prompts.expectSaveFile(path);
    saver.mainWindow().files().saveData();
    KELPRA_VERIFY_PROMPTS(saver.prompts);
    const QByteArray saved = readFile(path);
    QCOMPARE(saved.left(3 + rec.size() + 2), QByteArray("0\r\n") + rec + "\r\n");

    AppFixture loader;
    loader.prompts.expectOpenFile(path);
    loader.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(loader.prompts);
    QCOMPARE(loader.store().slot(1), rec);
    QVERIFY(control<QToolButton>(loader.mainWindow(), "Next")->isHidden());
    QVERIFY(control<QToolButton>(loader.mainWindow(), "Prev")->isHidden());
    for (Field counter : {Field::ReceivedCount, Field::CurrentRecord, Field::TotalRecords})
        QCOMPARE(loader.mainWindow().fieldText(counter), QStringLiteral("1"));
    QCOMPARE(station(loader.mainWindow()), stationTexts());
    QCOMPARE(decodedFields(loader.mainWindow(), 1), decodedFields(saver.mainWindow(), displayIndex));

    const QString again = here(QStringLiteral("again.bin"));
    loader.prompts.expectSaveFile(again);
    loader.mainWindow().files().saveData();
    QCOMPARE(readFile(again), saved);
}

void TestDataFiles::countsUpTo255LedRecords()
{
    QByteArray file = "1\r\n";
    for (int i = 1; i <= 16; ++i)
        file += (i <= 5 ? record(char('0' + i)) : record('\xff')) + "\r\n";
    file += "dataend\r\n16\r\n" + QByteArray("\r\n").repeated(8);
    writeFile(here(QStringLiteral("ff.bin")), file);

    AppFixture f;
    f.prompts.expectOpenFile(here(QStringLiteral("ff.bin")));
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.store().recordCount(), 5);
    QCOMPARE(f.mainWindow().fieldText(Field::ReceivedCount), QStringLiteral("5"));
    QCOMPARE(f.mainWindow().fieldText(Field::TotalRecords), QStringLiteral("5"));
    for (int i = 6; i <= 16; ++i)
        QCOMPARE(f.store().slot(i).left(64), record('\xff'));
    for (int step = 2; step <= 5; ++step) {
        QVERIFY(!control<QToolButton>(f.mainWindow(), "Next")->isHidden());
        f.mainWindow().session().next();
    }
    QCOMPARE(f.mainWindow().fieldText(Field::CurrentRecord), QStringLiteral("5"));
    QVERIFY(control<QToolButton>(f.mainWindow(), "Next")->isHidden());
}

void TestDataFiles::nextNeverPassesTheCount_data()
{
    QTest::addColumn<int>("counted");
    QTest::addColumn<int>("led255");
    QTest::newRow("none counted") << 0 << 2;
    QTest::newRow("one counted of two") << 1 << 1;
    QTest::newRow("one record") << 1 << 0;
    QTest::newRow("two counted of three") << 2 << 1;
}

// A full set counts the records that do not lead with 255; Next never goes past them,
// whatever the count, 0 and 1 included.
void TestDataFiles::nextNeverPassesTheCount()
{
    QFETCH(int, counted);
    QFETCH(int, led255);
    MeasurementStore source;
    source.setSlot(0, sampleIdentificationLine());
    for (int i = 1; i <= counted + led255; ++i) {
        QByteArray record = sampleRecord(i);
        if (i > counted)
            record.replace(0, 3, QByteArray(3, '\xff'));
        source.setSlot(i, record);
    }
    const QString path = here(QStringLiteral("counted.bin"));
    writeFile(path, buildFullSetFile(source, StationLines{}).bytes);

    AppFixture f;
    f.prompts.expectOpenFile(path);
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.store().recordCount(), counted);
    QToolButton *next = control<QToolButton>(f.mainWindow(), "Next");
    QCOMPARE(next->isHidden(), counted <= 1);
    const int last = qMax(1, counted);
    while (!next->isHidden() && f.store().displayIndex() < 16)
        next->click();
    QCOMPARE(f.store().displayIndex(), last);
    QCOMPARE(f.mainWindow().fieldText(Field::CurrentRecord), QString::number(last));
    // Even when asked for while hidden, Next stays on the last record held.
    f.mainWindow().session().next();
    QCOMPARE(f.store().displayIndex(), last);
    QVERIFY(next->isHidden());
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

// A single-record file whose record line is empty leaves slot 1 empty: nothing is shown as a
// call, and the message says so.
void TestDataFiles::emptySingleRecordFile()
{
    const QString path = here(QStringLiteral("norecord.bin"));
    writeFile(path, QByteArray("0\r\n\r\n") + QByteArray("\r\n").repeated(8));
    AppFixture f;
    f.prompts.expectOpenFile(path);
    f.prompts.expectInformation(QStringLiteral("Record 1 holds no data."));
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(f.store().slot(1).isEmpty());
    for (Field field : callDisplayFields())
        QVERIFY2(f.mainWindow().fieldText(field).isEmpty(), fieldName(field));
    QVERIFY(f.mainWindow().fieldText(Field::ErrorCheckVerdict).isEmpty());
    QVERIFY(!f.mainWindow().distressShown());
}

void TestDataFiles::singleLoadEmptiesDownloadedSlots()
{
    writeFile(here(QStringLiteral("one.bin")),
              QByteArray("0\r\n") + record('Z') + "\r\n" + QByteArray("\r\n").repeated(8));
    AppFixture f;
    QList<QByteArray> downloaded;
    for (int i = 1; i <= 16; ++i)
        downloaded << sampleRecord(i);
    fill(f, downloaded);
    f.store().setDisplayIndex(9);
    f.prompts.expectOpenFile(here(QStringLiteral("one.bin")));
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    // Nothing of the downloaded set is left to be saved as this file's.
    QCOMPARE(f.store().recordCount(), 1);
    QCOMPARE(f.store().displayIndex(), 1);
    QCOMPARE(f.store().slot(1), record('Z'));
    for (int i = 2; i <= 16; ++i)
        QVERIFY(f.store().slot(i).isEmpty());
    for (Field counter : {Field::ReceivedCount, Field::CurrentRecord, Field::TotalRecords})
        QCOMPARE(f.mainWindow().fieldText(counter), QStringLiteral("1"));
}

void TestDataFiles::refusedFileLosesNothing_data()
{
    // `kind`: "file" holds `content`; the others are made in place of a file.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const QString noNumber = kNoNumber + QStringLiteral("\nbad.bin is not a data file: its first line is not a number.");
    QTest::newRow("empty file") << "file" << QByteArray() << noNumber;
    QTest::newRow("text first line") << "file" << QByteArray("data\r\n") + record('A') + "\r\n" << noNumber;
    QTest::newRow("empty first line") << "file" << QByteArray("\r\n0\r\n") << noNumber;
    QTest::newRow("missing file") << "missing" << QByteArray() << QStringLiteral("File not found.");
    QTest::newRow("LF line ends") << "file" << QByteArray("0\n") + record('A') + "\n\n\n\n\n\n\n\n\n"
                                  << QStringLiteral("Not a complete data file: its lines end in LF alone instead of "
                                                    "CR LF, as after a transfer in text mode.");
    QByteArray noDataEnd = "1\r\n";
    for (int i = 0; i < 40; ++i)
        noDataEnd += record(char('A' + i % 26)) + "\r\n";
    QTest::newRow("40 record lines, no dataend")
        << "file" << noDataEnd + QByteArray("\r\n").repeated(8)
        << QStringLiteral("Not a complete data file: it has no \"dataend\" line after its records.");
    // Refused without being read: none of these may block or fill the memory.
    QTest::newRow("FIFO without a writer") << "fifo" << QByteArray()
                                           << QStringLiteral("Not a data file: it is a named pipe.");
    QTest::newRow("folder") << "folder" << QByteArray() << QStringLiteral("Not a data file: it is a folder.");
    QTest::newRow("device") << "device" << QByteArray() << QStringLiteral("Not a data file: it is a device.");
    QTest::newRow("over 1 MiB")
        << "large" << QByteArray()
        << QStringLiteral("Not a data file: at 1048577 bytes it is far larger than any data file (the limit is 1 MiB)");
}

void TestDataFiles::refusedFileLosesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QString path = here(QStringLiteral("bad.bin"));
    if (kind == QLatin1String("file")) {
        writeFile(path, content);
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
    } else if (kind == QLatin1String("large")) {
        // A first line that parses, so only the size can refuse it.
        writeFile(path, QByteArray("0\r\n") + QByteArray(kMaxDataFileBytes - 2, 'x'));
    }

    AppFixture f;
    QList<QByteArray> downloaded;
    for (int i = 1; i <= 16; ++i)
        downloaded << sampleRecord(i);
    fill(f, downloaded);
    QVERIFY(f.session().showRecordAt(4));
    setStation(f.mainWindow(), stationTexts());

    f.prompts.expectOpenFile(path);
    f.prompts.expectError(error);
    f.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(f.prompts);

    QCOMPARE(f.store().slot(0), sampleIdentificationLine());
    for (int i = 1; i <= 16; ++i)
        QCOMPARE(f.store().slot(i), sampleRecord(i));
    QCOMPARE(f.store().recordCount(), 16);
    QCOMPARE(f.store().displayIndex(), 4);
    QCOMPARE(f.mainWindow().fieldText(Field::ReceivedCount), QStringLiteral("16"));
    QCOMPARE(f.mainWindow().fieldText(Field::CurrentRecord), QStringLiteral("4"));
    QCOMPARE(f.mainWindow().fieldText(Field::TotalRecords), QStringLiteral("16"));
    QVERIFY(!control<QToolButton>(f.mainWindow(), "Next")->isHidden());
    QVERIFY(!control<QToolButton>(f.mainWindow(), "Prev")->isHidden());
    QCOMPARE(station(f.mainWindow()), stationTexts());
}

void TestDataFiles::longStationLinesAreNeverCut()
{
    // Longer than a line edit holds by default (32,767 characters).
    const QByteArray longLine(40000, 'L');
    StationLines lines;
    lines[3] = longLine;
    writeFile(here(QStringLiteral("long.bin")), buildSingleRecordFile(sampleRecord(1), lines, false).bytes);
    AppFixture f;
    f.prompts.expectOpenFile(here(QStringLiteral("long.bin")));
    f.prompts.expectSaveFile(here(QStringLiteral("again.bin")));
    f.mainWindow().files().openData();
    QCOMPARE(f.mainWindow().fieldText(Field::VesselName).size(), longLine.size());
    f.mainWindow().files().saveData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(parseDataFile(readFile(here(QStringLiteral("again.bin")))).file->station[3], longLine);
}

void TestDataFiles::saveErrorIsShown()
{
    // A folder on the way that is really a file: as root too, the file cannot be created.
    writeFile(here(QStringLiteral("plain")), "x");
    AppFixture f;
    fill(f, {sampleRecord(1)});
    f.prompts.expectSaveFile(here(QStringLiteral("plain/data.bin")));
    f.prompts.expectError(QStringLiteral("Invalid filename."));
    f.prompts.expectSaveFile(here(QStringLiteral("plain/alldata.bin")));
    f.prompts.expectError(QStringLiteral("Invalid filename."));
    f.mainWindow().files().saveData();
    f.mainWindow().files().saveAllData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
}

void TestDataFiles::saveWarnsOfWhatCannotComeBack_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<QString>("warning"); // empty: no box
    QByteArray inSymbols = record('B');
    inSymbols.replace(40, 2, "\r\n");
    QByteArray atEnd = record('C');
    atEnd.replace(62, 2, "\r\n");
    QByteArray longWithPair = record('D', 64) + "ab\r\ncd";
    QTest::newRow("64-byte records with 13, 10") << QList<QByteArray>{record('A'), inSymbols, atEnd} << QString();
    // The integrity line's lengths bring it back: nothing to warn of.
    QTest::newRow("long record with 13, 10 after byte 64")
        << QList<QByteArray>{record('A'), longWithPair, record('E')} << QString();
}

void TestDataFiles::saveWarnsOfWhatCannotComeBack()
{
    QFETCH(QList<QByteArray>, records);
    QFETCH(QString, warning);
    const QString path = here(QStringLiteral("warned.bin"));
    AppFixture f;
    fill(f, records);
    f.prompts.expectSaveFile(path);
    if (!warning.isEmpty())
        f.prompts.expectInformation(warning);
    f.mainWindow().files().saveAllData();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    // Written all the same, every byte as held.
    QByteArray expected = "1\r\n";
    for (const QByteArray &r : records)
        expected += r + "\r\n";
    QVERIFY(readFile(path).startsWith(expected + "dataend\r\n3\r\n"));

    // The box tells the truth: the set comes back unchanged exactly when none was shown.
    AppFixture loader;
    loader.prompts.expectOpenFile(path);
    loader.mainWindow().files().openData();
    KELPRA_VERIFY_PROMPTS(loader.prompts);
    bool same = true;
    for (int i = 0; i < records.size(); ++i)
        same = same && loader.store().slot(i + 1) == records[i];
    QCOMPARE(same, warning.isEmpty());
}

void TestDataFiles::detailsAtStartUp_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("no file") << QByteArray() << false << QStringList{"", "", "", ""};
    QTest::newRow("two lines") << QByteArray("Morsvyaz\r\n+7 812\r\n") << true
                               << QStringList{"Morsvyaz", "+7 812", "", ""};
    QTest::newRow("six lines") << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n") << true
                               << QStringList{"a", "b", "c", "d"};
    QTest::newRow("Windows-1251") << QByteArray("\xce\xce\xce\r\n\r\n\xcd\xe5\xe2\xf1\xea\xe8\xe9\r\n\xc8\xe2\xe0\xed\xee\xe2\r\n")
                                  << true
                                  << QStringList{QString::fromUtf8("\xd0\x9e\xd0\x9e\xd0\x9e"), "",
                                                 QString::fromUtf8("\xd0\x9d\xd0\xb5\xd0\xb2\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9"),
                                                 QString::fromUtf8("\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd\xd0\xbe\xd0\xb2")};
}

void TestDataFiles::detailsAtStartUp()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(QStringList, fields);
    if (exists)
        writeFile(here(QStringLiteral("details.txt")), content);
    AppFixture f;
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QVERIFY(f.prompts.shown.isEmpty());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.mainWindow().fieldText(kControllerFields[static_cast<size_t>(i)].field), fields[i]);
}

void TestDataFiles::saveDetailsRoundTrip()
{
    const QByteArray expected = "\xce\xce\xce \xcc\xee\xf0\xf1\xe2\xff\xe7\xfc\r\n\r\n"
                                "\xcd\xe5\xe2\xf1\xea\xe8\xe9 1\r\n\xc8\xe2\xe0\xed\xee\xe2 \xc8.\r\n";
    {
        AppFixture f;
        f.mainWindow().setFieldText(Field::ControllerCompany, QString::fromUtf8("\xd0\x9e\xd0\x9e\xd0\x9e \xd0\x9c\xd0\xbe\xd1\x80\xd1\x81\xd0\xb2\xd1\x8f\xd0\xb7\xd1\x8c"));
        f.mainWindow().setFieldText(Field::ControllerAddress, QString::fromUtf8("\xd0\x9d\xd0\xb5\xd0\xb2\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9 1"));
        f.mainWindow().setFieldText(Field::Engineer, QString::fromUtf8("\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd\xd0\xbe\xd0\xb2 \xd0\x98."));
        f.mainWindow().files().saveDetails();
        KELPRA_VERIFY_PROMPTS(f.prompts);
        QCOMPARE(readFile(here(QStringLiteral("details.txt"))), expected);
    }
    AppFixture next;
    next.mainWindow().files().saveDetails();
    QCOMPARE(readFile(here(QStringLiteral("details.txt"))), expected);

    // All four empty: four empty lines.
    for (const CaptionedField &field : kControllerFields)
        next.mainWindow().setFieldText(field.field, QString());
    next.mainWindow().files().saveDetails();
    QCOMPARE(readFile(here(QStringLiteral("details.txt"))), QByteArray("\r\n\r\n\r\n\r\n"));
    KELPRA_VERIFY_PROMPTS(next.prompts);
}

void TestDataFiles::saveDetailsFollowsCurrentDirectory()
{
    AppFixture f;
    f.mainWindow().setFieldText(Field::ControllerCompany, QStringLiteral("Moved"));
    const QString start = QDir::currentPath();
    QVERIFY(QDir().mkpath(here(QStringLiteral("later"))));
    QVERIFY(QDir::setCurrent(here(QStringLiteral("later"))));
    f.mainWindow().files().saveDetails();
    const QByteArray written = readFile(here(QStringLiteral("details.txt")));
    QDir::setCurrent(start);
    QCOMPARE(written, QByteArray("Moved\r\n\r\n\r\n\r\n"));
    QVERIFY(!QFile::exists(here(QStringLiteral("details.txt"))));
}

void TestDataFiles::saveDetailsError()
{
    // details.txt that is a folder cannot be replaced by a file, whoever runs the test;
    // at start-up such a file cannot be opened and is passed over.
    QVERIFY(QDir().mkpath(here(QStringLiteral("details.txt"))));
    AppFixture f;
    QVERIFY(f.prompts.shown.isEmpty());
    f.mainWindow().setFieldText(Field::ControllerCompany, QStringLiteral("Co"));
    f.prompts.expectError(QStringLiteral("File access denied."));
    f.mainWindow().files().saveDetails();
    KELPRA_VERIFY_PROMPTS(f.prompts);
    QCOMPARE(f.mainWindow().fieldText(Field::ControllerCompany), QStringLiteral("Co"));
}

QTEST_MAIN(TestDataFiles)
#include "test_data_files.moc"
