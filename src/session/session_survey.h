#pragma once

#include "archive/survey.h"

#include <optional>

namespace kelpra {

class Session;
struct ArchivedSurvey;

// The survey the session holds, as the archive takes it: a completed download or an
// opened data file, with the station and controller lines of this moment. None while the
// records held are no such survey (nothing held, the sample set, a survey opened from the
// archive). The window archives what this gives after every fill; kelpra-tool archive
// import does the same with a file it has loaded, so both archive a file alike.
std::optional<Survey> sessionSurvey(const Session &session);

// Opens an archived survey into the session: its records byte for byte, its identification
// line and its latest station lines.
void openArchivedSurvey(Session &session, const ArchivedSurvey &survey);

} // namespace kelpra
