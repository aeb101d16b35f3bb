#include "session/session.h"

#include "data/navigation.h"
#include "data/wire.h"
#include "dsc/record_decoder.h"

#include <QFileInfo>
#include <QLocale>

namespace kelpra {

namespace {

const QString kStartHint = QStringLiteral("Please download the data from tester or load it from file.");

} // namespace

Session::Session(QObject *parent)
    : QObject(parent), status_(kStartHint), surveyDate_(QDate::currentDate())
{
    for (Field field : allFields())
        texts_.insert(field, QByteArray());
    store_.setDisplayIndex(1);
}

StationLines Session::stationLines() const
{
    StationLines lines;
    for (size_t i = 0; i < kStationFields.size(); ++i)
        lines[i] = text(kStationFields[i].field);
    return lines;
}

ControllerLines Session::controllerLines() const
{
    ControllerLines lines;
    for (size_t i = 0; i < kControllerFields.size(); ++i)
        lines[i] = text(kControllerFields[i].field);
    return lines;
}

void Session::applyNavigation(const NavigationView &view)
{
    if (view.received)
        setField(Field::ReceivedCount, view.received->toLatin1());
    setField(Field::CurrentRecord, view.current.toLatin1());
    if (view.total)
        setField(Field::TotalRecords, view.total->toLatin1());
    previousShown_ = view.prevVisible;
    nextShown_ = view.nextVisible;
}

void Session::showIdentification()
{
    setField(Field::Identification, identificationText(store_.slot(0)));
}

void Session::clearCallDisplay()
{
    for (Field field : callDisplayFields())
        setField(field, QByteArray());
    check_.reset();
    Q_EMIT changed();
}

void Session::next()
{
    if (!store_.holdsData()) {
        Q_EMIT message(kNoDataMessage);
        return;
    }
    if (text(Field::Identification).isEmpty())
        showIdentification();
    applyNavigation(*stepNext(store_));
    clearCallDisplay();
    showRecord(store_.displayIndex());
    status_ = kSaveHint;
    Q_EMIT changed();
}

void Session::previous()
{
    const std::optional<NavigationView> view = stepPrevious(store_);
    if (!view) {
        Q_EMIT message(kNoDataMessage);
        return;
    }
    applyNavigation(*view);
    clearCallDisplay();
    showRecord(view->displayIndex);
    status_ = kSaveHint;
    Q_EMIT changed();
}

bool Session::showRecordAt(int index)
{
    // Record 1 can always be put on display while data are held, even when none counted.
    if (!store_.holdsData() || index < 1 || index > qMax(1, viewable_))
        return false;
    store_.setDisplayIndex(index);
    NavigationView view = navigationAt(store_, index);
    view.nextVisible = index < viewable_;
    applyNavigation(view);
    clearCallDisplay();
    showRecord(index);
    status_ = kSaveHint;
    Q_EMIT changed();
    return true;
}

void Session::decodeMessage()
{
    if (!store_.holdsData()) {
        Q_EMIT message(kNoDataToDecodeMessage);
        return;
    }
    showIdentification();
    clearCallDisplay();
    showRecord(store_.displayIndex());
    status_ = kSaveHint;
    Q_EMIT changed();
}

void Session::showRecordAgain()
{
    if (!store_.holdsData())
        return;
    clearCallDisplay();
    showRecord(store_.displayIndex(), false);
    Q_EMIT changed();
}

void Session::showRecord(int slot, bool announce)
{
    if (surveyPending_) {
        surveyPending_ = false;
        ++surveyRevision_;
    }
    const QByteArray bytes = store_.slot(slot);
    const DecodedRecord decoded = decodeRecord(bytes, QLocale::system().decimalPoint());
    if (decoded.empty()) {
        // Nothing of an earlier record may stay on view as if it were this one.
        distressShown_ = false;
        setField(kCallVerdict, QByteArray());
        check_.reset();
        Q_EMIT changed();
        if (announce)
            Q_EMIT message(emptyRecordMessage(slot));
        return;
    }
    check_ = checkRecord(bytes);
    for (auto it = decoded.header.cbegin(); it != decoded.header.cend(); ++it)
        setField(it.key(), it.value());
    distressShown_ = decoded.distress();

    // The format specifier row first: a message about it is read with that row on view.
    const DecodedRow &first = decoded.distress() ? kDistressRows.front() : kCallRows.front();
    const QList<Field> firstRow{first.digits, *first.meaning};
    for (Field field : firstRow)
        setField(field, decoded.rows.value(field));
    const QStringList messages = announce ? decoded.messages() : QStringList();
    if (!messages.isEmpty()) {
        Q_EMIT changed();
        for (const QString &text : messages)
            Q_EMIT message(text);
    }
    for (auto it = decoded.rows.cbegin(); it != decoded.rows.cend(); ++it) {
        if (!firstRow.contains(it.key()))
            setField(it.key(), it.value());
    }
}

RecordTexts Session::textsWithRecord(int index) const
{
    RecordTexts shown{texts_, false};
    for (Field field : callDisplayFields())
        shown.texts.insert(field, QByteArray());
    const DecodedRecord decoded = decodeRecord(store_.slot(index), QLocale::system().decimalPoint());
    if (decoded.empty()) {
        shown.texts.insert(kCallVerdict, QByteArray());
        return shown;
    }
    const FieldTexts fields = decoded.fields();
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        shown.texts.insert(it.key(), it.value());
    shown.distress = decoded.distress();
    return shown;
}

void Session::replaced(const RecordOrigin &origin)
{
    origin_ = origin;
    surveyPending_ = true;
    viewable_ = origin.kind == RecordOrigin::Kind::File ? origin.records : store_.recordCount();
}

void Session::loadSampleSet()
{
    applyNavigation(kelpra::loadSampleSet(store_));
    replaced(RecordOrigin{RecordOrigin::Kind::SampleSet, {}, {}, QDateTime::currentDateTime(), 0});
    downloadUnsaved_ = false;
    fileNote_.clear();
    fileNotePath_.clear();
    decodeMessage();
    status_ = kDecodeHint;
    Q_EMIT changed();
    Q_EMIT recordsArrived();
}

void Session::downloadStarted()
{
    status_ = kDecodeHint;
    Q_EMIT changed();
}

void Session::acceptDownload(const QList<QByteArray> &replies, const QString &portName, const QString &device,
                             const QDateTime &at)
{
    for (int k = 0; k < wire::kReplyCount; ++k)
        store_.setSlot(k, replies.value(k));
    store_.setRecordCount(wire::kRecordCount);
    applyNavigation(recordsReplaced(store_, store_.recordCount()));
    replaced(RecordOrigin{RecordOrigin::Kind::Download, portName, device, at, wire::kRecordCount});
    downloadUnsaved_ = true;
    fileNote_ = QStringLiteral("Downloaded from %1 at %2").arg(portName, at.toString(QStringLiteral("HH:mm")));
    fileNotePath_ = device;
    Q_EMIT changed();
    Q_EMIT recordsArrived();
}

void Session::openFile(const DataFile &file, const QString &path, bool changedFile)
{
    RecordOrigin origin{RecordOrigin::Kind::File, {}, path, QDateTime::currentDateTime(), 0, changedFile};
    const int held = takeFile(file, origin);
    fileNote_ = QStringLiteral("Loaded %1: %2 record%3")
                    .arg(QFileInfo(path).fileName())
                    .arg(held)
                    .arg(held == 1 ? QString() : QStringLiteral("s"));
    fileNotePath_ = path;
    Q_EMIT changed();
    Q_EMIT recordsArrived();
}

void Session::openArchived(const DataFile &file, const QByteArray &identification, const RecordOrigin &origin)
{
    const int held = takeFile(file, origin);
    // The test set's own line, kept with the survey, is worth seeing at once. An empty
    // slot 0 would mean nothing is held.
    if (!identification.isEmpty())
        store_.setSlot(0, identification);
    showIdentification();
    fileNote_ = QStringLiteral("Opened from the archive: %1 record%2")
                    .arg(held)
                    .arg(held == 1 ? QString() : QStringLiteral("s"));
    fileNotePath_.clear();
    Q_EMIT changed();
    Q_EMIT recordsArrived();
}

int Session::takeFile(const DataFile &file, const RecordOrigin &origin)
{
    applyDataFile(file, store_);
    const bool single = file.kind == DataFileKind::SingleRecord;
    const int held = single ? 1 : store_.recordCount();
    applyNavigation(recordsReplaced(store_, held));
    RecordOrigin from = origin;
    from.records = held;
    replaced(from);
    showRecord(1);
    for (size_t i = 0; i < kStationFields.size(); ++i)
        setField(kStationFields[i].field, file.station[i]);
    downloadUnsaved_ = false;
    stationChanged_ = false;
    return held;
}

void Session::setText(Field field, const QByteArray &text)
{
    if (texts_.value(field) == text)
        return;
    setField(field, text);
    for (const CaptionedField &station : kStationFields) {
        if (station.field == field)
            stationChanged_ = true;
    }
    Q_EMIT changed();
}

void Session::setControllerLines(const ControllerLines &lines)
{
    for (size_t i = 0; i < kControllerFields.size(); ++i)
        setField(kControllerFields[i].field, lines[i]);
    Q_EMIT changed();
}

void Session::setSurveyDate(const QDate &date)
{
    if (date == surveyDate_)
        return;
    surveyDate_ = date;
    Q_EMIT changed();
}

BuiltDataFile Session::fullSetFile() const
{
    return buildFullSetFile(store_, stationLines());
}

bool Session::holdsRecordsToSave() const
{
    return recordsToSave(store_) > 0;
}

void Session::recordSaved(const QString &path)
{
    stationChanged_ = false;
    setFileNote(QStringLiteral("Record saved to %1").arg(QFileInfo(path).fileName()), path);
}

void Session::allSaved(const QString &path)
{
    stationChanged_ = false;
    downloadUnsaved_ = false;
    setFileNote(QStringLiteral("All records saved to %1").arg(QFileInfo(path).fileName()), path);
}

QString Session::fileNote() const
{
    if (!origin_.changedFile)
        return fileNote_;
    const QString changed = QString::fromLatin1(kChangedFileNote);
    return fileNote_.isEmpty() ? changed : fileNote_ + QStringLiteral(" \u2014 ") + changed;
}

void Session::setFileNote(const QString &note, const QString &path)
{
    fileNote_ = note;
    fileNotePath_ = path;
    Q_EMIT changed();
}

} // namespace kelpra
