#include "support/test_helpers.h"

#include <QFile>

namespace kelpra::test {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

WorkingDirectory::WorkingDirectory()
    : previous_(QDir::currentPath()), dir_(QDir(previous_).filePath(QStringLiteral("case-XXXXXX")))
{
    entered_ = dir_.isValid() && QDir::setCurrent(dir_.path());
}

WorkingDirectory::~WorkingDirectory()
{
    QDir::setCurrent(previous_);
}

} // namespace kelpra::test
