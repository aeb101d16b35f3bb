#include "ui/file_names.h"

#include <QRegularExpression>

namespace kelpra {

QString proposedFileName(const QStringList &parts, const QString &fallback)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\s/\\\\:*?\"<>|\\x00-\\x1f]+"));
    QStringList kept;
    for (QString part : parts) {
        part = part.trimmed().replace(unsafe, QStringLiteral("_"));
        if (!part.isEmpty())
            kept.append(part);
    }
    return kept.isEmpty() ? fallback : kept.join(QLatin1Char('_'));
}

} // namespace kelpra
