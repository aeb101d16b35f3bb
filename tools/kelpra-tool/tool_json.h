#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace kelpra {
struct CallCheck;
}

namespace kelpra::tool {

// A JSON string literal (quotes included) for the text, UTF-8.
QByteArray jsonString(const QString &text);

// A JSON number, or null without a value.
QByteArray jsonInteger(const std::optional<int> &value);
// A JSON string literal, or null for an empty text.
QByteArray jsonNullableString(const QString &text);

// One JSON object of string members, keeping the given member order.
QByteArray jsonObject(const QList<QPair<QString, QString>> &members);

// The "check" object of a record: verdict, kind, format, ecc, self, address, distressed and
// findings, with integers, booleans and null where a value does not apply; an identity holds
// mmsi, equipment, type, mid, country, iso and region. With `record`, a "record" member leads.
QByteArray jsonCheck(const CallCheck &check, std::optional<int> record = std::nullopt);

} // namespace kelpra::tool
