#include "tool_json.h"

#include "dsc/call_check.h"

namespace kelpra::tool {

QByteArray jsonString(const QString &text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // Control characters (a record may hold any byte) are escaped, never written raw.
            if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
                out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
            else
                out += QString(c).toUtf8(); // field texts come from an 8-bit code page: no surrogates
        }
    }
    out += '"';
    return out;
}

QByteArray jsonObject(const QList<QPair<QString, QString>> &members)
{
    QByteArray out = "{";
    for (int i = 0; i < members.size(); ++i) {
        if (i)
            out += ", ";
        out += jsonString(members[i].first) + ": " + jsonString(members[i].second);
    }
    out += '}';
    return out;
}

QByteArray jsonInteger(const std::optional<int> &value)
{
    return value ? QByteArray::number(*value) : QByteArray("null");
}

QByteArray jsonNullableString(const QString &text)
{
    return text.isEmpty() ? QByteArray("null") : jsonString(text);
}

namespace {

QByteArray jsonIdentity(const std::optional<StationIdentity> &id)
{
    if (!id)
        return "null";
    const QByteArray equipment = id->equipment >= 0 ? QByteArray::number(id->equipment) : QByteArray("null");
    return "{\"mmsi\": " + jsonNullableString(id->mmsi) + ", \"equipment\": " + equipment
           + ", \"type\": " + jsonString(id->type) + ", \"mid\": " + jsonInteger(id->mid)
           + ", \"country\": " + jsonNullableString(id->country) + ", \"iso\": " + jsonNullableString(id->iso)
           + ", \"region\": " + jsonNullableString(id->region) + '}';
}

} // namespace

QByteArray jsonCheck(const CallCheck &check, std::optional<int> record)
{
    QByteArray out = "{";
    if (record)
        out += "\"record\": " + QByteArray::number(*record) + ", ";
    out += "\"verdict\": " + jsonString(verdictName(check.verdict));
    out += ", \"kind\": " + jsonString(kindName(check.kind));
    out += ", \"format\": " + jsonInteger(check.format);
    out += ", \"ecc\": ";
    if (check.receivedEcc && check.computedEcc)
        out += "{\"received\": " + jsonInteger(check.receivedEcc) + ", \"computed\": "
               + jsonInteger(check.computedEcc) + ", \"match\": " + (check.eccMatch() ? "true" : "false") + '}';
    else
        out += "null";
    out += ", \"self\": " + jsonIdentity(check.self);
    out += ", \"address\": " + jsonIdentity(check.address);
    out += ", \"distressed\": " + jsonIdentity(check.distressed);
    out += ", \"findings\": [";
    for (int i = 0; i < check.findings.size(); ++i) {
        const CheckFinding &f = check.findings[i];
        out += (i ? ", " : "") + QByteArray("{\"code\": ") + jsonString(f.code) + ", \"severity\": "
               + jsonString(severityName(f.severity)) + ", \"text\": " + jsonString(f.text) + '}';
    }
    out += "]}";
    return out;
}

} // namespace kelpra::tool
