#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace kelpra::tool {

// A JSON string literal (quotes included) for the text, UTF-8.
QByteArray jsonString(const QString &text);

// One JSON object of string members, keeping the given member order.
QByteArray jsonObject(const QList<QPair<QString, QString>> &members);

} // namespace kelpra::tool
