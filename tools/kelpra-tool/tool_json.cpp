#include "tool_json.h"

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

} // namespace kelpra::tool
