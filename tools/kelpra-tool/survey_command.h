#pragma once

#include <QStringList>

namespace kelpra::tool {

// `kelpra-tool survey DATAFILE [--json | --csv FILE | --pdf FILE]`: every record of a data
// file at a glance, as the window's survey table, or the survey report. args[0] is
// "kelpra-tool survey".
int surveyCommand(const QStringList &args);

} // namespace kelpra::tool
