#pragma once

#include "data/fields.h"
#include "data/measurement_store.h"
#include "dsc/call_check.h"
#include "files/data_file.h"
#include "files/details_file.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

namespace kelpra {

namespace test {
struct SessionAccess;
}

struct DecodedRecord;
struct NavigationView;

// Where the records held came from.
struct RecordOrigin {
    enum class Kind { Nothing, Download, File, SampleSet, Archive };
    Kind kind = Kind::Nothing;
    QString portName;     // download: "COM3"
    QString source;       // download: the device; file: its path; archive: the survey's own source
    QDateTime time;       // when the records arrived; archive: when the survey was archived
    int records = 0;      // the records a loaded file held
    // A file whose checksum differs, opened all the same: its records may not be what
    // was measured.
    bool changedFile = false;
    qint64 archiveId = 0; // archive: the survey's id there

    bool operator==(const RecordOrigin &other) const
    {
        return kind == other.kind && portName == other.portName && source == other.source
               && time == other.time && records == other.records && changedFile == other.changedFile
               && archiveId == other.archiveId;
    }
};

// The texts of every field as the window shows them with one record on display, and which
// panel the record is shown in.
struct RecordTexts {
    FieldTexts texts;
    bool distress = false;
};

// The survey as one document: the records held, the record on display with every text the
// window shows for it (decoded, or typed over by the user), the station and controller
// lines, the call check of the record, where the records came from and whether anything
// would be lost on exit. The windows are views of it; the reports, the files and the
// command line read it. Every command that changes it ends with changed(); what the user
// must be told on the way (a message box in the window) comes as message(), in order.
class Session : public QObject {
    Q_OBJECT
public:
    explicit Session(QObject *parent = nullptr);

    // What is held.
    const MeasurementStore &store() const { return store_; }
    const RecordOrigin &origin() const { return origin_; }
    bool sampleData() const { return store_.fromSampleSet(); }
    int displayIndex() const { return store_.displayIndex(); }

    // Every text field as the window shows it, 8-bit (Windows-1251); the reports print
    // exactly these.
    QByteArray text(Field field) const { return texts_.value(field); }
    const FieldTexts &texts() const { return texts_; }
    StationLines stationLines() const;
    ControllerLines controllerLines() const;
    // The distress panel lies over the call rows; the reports take its layout.
    bool distressShown() const { return distressShown_; }
    // The check of the record on display; none while no record is decoded.
    const std::optional<CallCheck> &check() const { return check_; }
    // The records held that the user can look at: 1 to this (0 while nothing is held, or
    // when a full set counted none).
    int viewableRecords() const { return store_.holdsData() ? viewable_ : 0; }
    bool previousShown() const { return previousShown_; }
    bool nextShown() const { return nextShown_; }
    // The status line (the texts of the record commands).
    QString statusText() const { return status_; }
    // What the last file command did, or where the records held came from; and the file.
    // While records of a changed file are held, it says so whatever came after.
    QString fileNote() const;
    QString fileNotePath() const { return fileNotePath_; }
    QDate surveyDate() const { return surveyDate_; }

    // The texts the window would show with record `index` on display, as showRecordAt()
    // would leave them; worked out on a copy, so nothing on view changes.
    RecordTexts textsWithRecord(int index) const;
    // Counts the sets of records put on view: records newly held count once their first
    // record has been shown (a download's once "Download Ok" has been read).
    int surveyRevision() const { return surveyRevision_; }

    // Downloaded records not written by "Save all data" since they came, or station lines
    // changed since the last load or save: what closing would lose.
    bool unsaved() const { return downloadUnsaved_ || stationChanged_; }

    // Record commands.
    void next();             // Next
    void previous();         // Prev
    void decodeMessage();    // "Decode message"
    void clearCallDisplay(); // the header and call rows, and the check
    // The record on display decoded again, as it was before a command emptied the display
    // (a cancelled or refused "Open data"); nothing moves and nothing is said.
    void showRecordAgain();
    // Puts record `index` (1..viewableRecords(), or 1 while data are held) on display as a
    // step there would; false, and nothing changes, for a record that cannot be viewed.
    bool showRecordAt(int index);

    // A download has been started: the status line says what to do once it is in.
    void downloadStarted();

    // Fills: each replaces the records and puts record 1 on display.
    void loadSampleSet();    // "Emulation"
    // All 17 replies of a complete download (identification line, records 1..16). The
    // record is decoded by a following decodeMessage(), once "Download Ok" has been read.
    void acceptDownload(const QList<QByteArray> &replies, const QString &portName, const QString &device,
                        const QDateTime &at = QDateTime::currentDateTime());
    // A parsed data file, as "Open data" puts it into the store and the station fields;
    // `changed`: its checksum differs and the user chose to open it anyway.
    void openFile(const DataFile &file, const QString &path, bool changed = false);
    // A survey opened from the archive: its records byte for byte as a full set of that
    // file, its identification line in slot 0, its station lines in their fields;
    // `origin` (kind Archive) says which survey it is.
    void openArchived(const DataFile &file, const QByteArray &identification, const RecordOrigin &origin);

    // Typing: the text of one field as the user left it.
    void setText(Field field, const QByteArray &text);
    void setControllerLines(const ControllerLines &lines);
    void setSurveyDate(const QDate &date);

    // Saving.
    BuiltDataFile fullSetFile() const;        // "Save all data"
    bool holdsRecordsToSave() const;
    void recordSaved(const QString &path);
    void allSaved(const QString &path);
    // What a report, export or the details file wrote.
    void setFileNote(const QString &note, const QString &path);

Q_SIGNALS:
    void changed();
    void message(const QString &text);
    // A fill (download, file, sample set, archive) has replaced the records held, and the
    // station fields hold what came with them; after its changed().
    void recordsArrived();

private:
    // Tests put records into the store by hand, as a fill would.
    friend struct test::SessionAccess;

    void applyNavigation(const NavigationView &view);
    void showRecord(int slot, bool announce = true);
    void showIdentification();
    void replaced(const RecordOrigin &origin);
    int takeFile(const DataFile &file, const RecordOrigin &origin);
    void setField(Field field, const QByteArray &text) { texts_.insert(field, text); }

    MeasurementStore store_;
    FieldTexts texts_;
    bool distressShown_ = false;
    std::optional<CallCheck> check_;
    bool previousShown_ = false;
    bool nextShown_ = true;
    int viewable_ = 0;
    QString status_;
    QString fileNote_;
    QString fileNotePath_;
    RecordOrigin origin_;
    QDate surveyDate_;
    bool downloadUnsaved_ = false;
    bool stationChanged_ = false;
    int surveyRevision_ = 0;
    bool surveyPending_ = false;   // records replaced, none of them shown yet
};

} // namespace kelpra
