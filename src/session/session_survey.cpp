#include "session/session_survey.h"

#include "archive/survey_archive.h"
#include "session/session.h"

#include <QFileInfo>

namespace kelpra {

std::optional<Survey> sessionSurvey(const Session &session)
{
    const RecordOrigin &origin = session.origin();
    Survey survey;
    switch (origin.kind) {
    case RecordOrigin::Kind::Download:
        survey.origin = SurveyOrigin::Download;
        survey.source = origin.source;
        break;
    case RecordOrigin::Kind::File:
        survey.origin = SurveyOrigin::File;
        survey.source = QFileInfo(origin.source).fileName();
        break;
    case RecordOrigin::Kind::Nothing:
    case RecordOrigin::Kind::SampleSet:
    case RecordOrigin::Kind::Archive:
        return std::nullopt;
    }
    const MeasurementStore &store = session.store();
    survey.time = origin.time;
    survey.identification = store.slot(0);
    // Slots as filled: a file's records as it gave them (a fill empties what it does not
    // supply, and the archive leaves trailing empty slots off).
    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot)
        survey.records << store.slot(slot);
    survey.station = session.stationLines();
    survey.controller = session.controllerLines();
    survey.sample = session.sampleData();
    survey.checksumFailed = origin.changedFile;
    return survey;
}

void openArchivedSurvey(Session &session, const ArchivedSurvey &survey)
{
    DataFile file;
    file.kind = DataFileKind::FullSet;
    file.records = survey.recordBytes();
    file.station = survey.latest().station;
    RecordOrigin origin;
    origin.kind = RecordOrigin::Kind::Archive;
    origin.source = survey.summary.source;
    origin.time = survey.summary.archived;
    origin.archiveId = survey.summary.id;
    session.openArchived(file, survey.identification, origin);
}

} // namespace kelpra
