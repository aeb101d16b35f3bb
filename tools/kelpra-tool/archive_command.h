#pragma once

#include <QString>
#include <QStringList>

namespace kelpra::tool {

// `kelpra-tool archive list|show|export|import`; args[0] is "kelpra-tool archive".
// Only `import` writes to the archive.
int archiveCommand(const QStringList &args);

} // namespace kelpra::tool
