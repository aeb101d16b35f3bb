#include "call_check.h"

#include "vocabulary.h"

#include <QMap>

#include <algorithm>

namespace kelpra {

namespace {

constexpr int kVerdictPosition = 16;
constexpr int kFormatPosition = 39;
constexpr int kFormatRepeat = 40;
constexpr int kFirstAfterFormat = 41;
constexpr int kNoTimeSymbol = 88;
constexpr int kNoFrequencySymbol = 126;

struct CodeInfo {
    const char *code;
    CheckSeverity severity;
};

// Every finding, in the order a record lists them: failures first.
constexpr CodeInfo kCodes[] = {
    {"record-short", CheckSeverity::Failure},
    {"format-mismatch", CheckSeverity::Failure},
    {"format-unknown", CheckSeverity::Failure},
    {"category-unknown", CheckSeverity::Failure},
    {"telecommand-unknown", CheckSeverity::Failure},
    {"symbol-invalid", CheckSeverity::Failure},
    {"eos-invalid", CheckSeverity::Failure},
    {"eos-mismatch", CheckSeverity::Failure},
    {"ecc-mismatch", CheckSeverity::Failure},
    {"verdict-disagrees", CheckSeverity::Warning},
    {"mmsi-check-digit", CheckSeverity::Warning},
    {"mid-unallocated", CheckSeverity::Warning},
    {"position-invalid", CheckSeverity::Warning},
    {"time-invalid", CheckSeverity::Warning},
    {"nature-unknown", CheckSeverity::Warning},
};

bool isEos(int symbol)
{
    return symbol == 117 || symbol == 122 || symbol == 127;
}

// "a", "a and b", "a, b and c".
QString joined(const QStringList &parts)
{
    if (parts.size() <= 1)
        return parts.value(0);
    return parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + parts.constLast();
}

QString sentence(const QString &text)
{
    return text.isEmpty() ? text : text.at(0).toUpper() + text.mid(1);
}

QString twoDigits(int value)
{
    return QString::fromLatin1(twoDigitForm(value));
}

// One telecommand-like symbol of a layout, with the table that gives it a meaning.
struct Command {
    int position;
    const char *name;
    bool second;
};

// Where each field of a call lies; 0 for a field the layout does not have.
struct Layout {
    CallKind kind = CallKind::Call;
    int area = 0;        // 102: the geographic area, five symbols of digits
    int address = 0;     // 120, 114, 123: the called station
    int category = 0;
    int self = 0;
    int distressed = 0;
    int nature = 0;
    int position = 0;
    int time = 0;
    int frequency = 0;   // six symbols, two halves of three
    int telephone = 0;   // 123: the first symbol between the frequency and the EOS
    QList<Command> commands;
    int eos = 0;
};

// A field that holds digits: five identity symbols, the position, the time, a frequency.
struct DigitField {
    int first;
    int count;
    const char *name;
};

class Judgement {
public:
    explicit Judgement(const QByteArray &record) : record_(record) {}

    CallCheck run();

private:
    int size() const { return static_cast<int>(record_.size()); }
    bool reaches(int position) const { return position >= 1 && position <= size(); }
    int at(int position) const { return static_cast<unsigned char>(record_.at(position - 1)); }
    QList<int> symbols(int first, int count) const
    {
        QList<int> out;
        for (int p = first; p < first + count; ++p)
            out.append(at(p));
        return out;
    }

    void add(const char *code, const QString &detail) { details_[QString::fromLatin1(code)].append(detail); }

    std::optional<Layout> layout(QString *shortText) const;
    bool symbolsInvalid(int first, int count, const char *name, bool digits);
    void judgeIdentity(int first, const char *name, std::optional<StationIdentity> *out);
    void judgePosition(int first);
    void judgeTime(int first);
    void judgeFrequency(int first);
    QString findingText(const QString &code, const QStringList &details) const;
    void finish(CallCheck &check) const;

    const QByteArray &record_;
    // The details of every code found so far; a code is reported once with all of them.
    QMap<QString, QStringList> details_;
};

// The layout the format specifier, category and first telecommand choose; none for an
// unknown format, or, with `shortText` saying why, for a record that ends before its ECC.
std::optional<Layout> Judgement::layout(QString *shortText) const
{
    const int format = at(kFormatPosition);
    Layout l;
    // A field that decides the layout lies before the ECC: a record without it is short.
    auto need = [&](int position) {
        if (reaches(position))
            return true;
        *shortText = QStringLiteral("The record ends at position %1, before the call is complete.").arg(size());
        return false;
    };
    if (format == 112) {
        l.kind = CallKind::DistressAlert;
        l.self = 41;
        l.nature = 46;
        l.position = 47;
        l.time = 52;
        l.commands = {{54, "subsequent communication", false}};
        l.eos = 55;
    } else if (format == 116) {
        if (!need(41))
            return std::nullopt;
        l.category = 41;
        l.self = 42;
        if (at(41) == 112 && !need(47))
            return std::nullopt;
        if (at(41) == 112 && (at(47) == 110 || at(47) == 112)) {
            l.kind = at(47) == 110 ? CallKind::DistressAcknowledgement : CallKind::DistressRelay;
            l.commands = {{47, "telecommand", false}, {61, "subsequent communication", false}};
            l.distressed = 48;
            l.nature = 53;
            l.position = 54;
            l.time = 59;
            l.eos = 62;
        } else {
            l.commands = {{47, "first telecommand", false}, {48, "second telecommand", true}};
            l.frequency = 49;
            l.eos = 55;
        }
    } else if (format == 120 || format == 114 || format == 102 || format == 123) {
        if (format == 102)
            l.area = 41;
        else
            l.address = 41;
        l.category = 46;
        l.self = 47;
        if (!need(46))
            return std::nullopt;
        if (at(46) == 112 && !need(52))
            return std::nullopt;
        if (at(46) == 112 && (at(52) == 110 || at(52) == 112)) {
            l.kind = at(52) == 110 ? CallKind::DistressAcknowledgement : CallKind::DistressRelay;
            l.commands = {{52, "first telecommand", false}, {66, "subsequent communication", false}};
            l.distressed = 53;
            l.nature = 58;
            l.position = 59;
            l.time = 64;
            l.eos = 67;
        } else {
            l.commands = {{52, "first telecommand", false}, {53, "second telecommand", true}};
            l.frequency = 54;
            l.eos = 60;
            if (format == 123) {
                // A telephone number may come between the frequency and the EOS.
                int p = 60;
                while (reaches(p) && !isEos(at(p)))
                    ++p;
                if (!reaches(p)) {
                    *shortText = QStringLiteral("The record ends at position %1 with no end-of-sequence symbol "
                                                "from position 60 on.")
                                     .arg(size());
                    return std::nullopt;
                }
                if (p > 60)
                    l.telephone = 60;
                l.eos = p;
            }
        }
    } else {
        return std::nullopt; // an unknown format: no layout, and `shortText` stays empty
    }
    if (!reaches(l.eos + 1)) {
        *shortText = QStringLiteral("The record ends at position %1, before the error-check character at position %2.")
                         .arg(size())
                         .arg(l.eos + 1);
        return std::nullopt;
    }
    return l;
}

// Reports the first symbol of a field that cannot stand there: a byte above 127, or, in a
// field of digits, a symbol of 100 or more. True when the field has one.
bool Judgement::symbolsInvalid(int first, int count, const char *name, bool digits)
{
    for (int p = first; p < first + count && reaches(p); ++p) {
        const int s = at(p);
        if (s > 127 || (digits && s >= 100)) {
            add("symbol-invalid", QStringLiteral("%1 at position %2 (%3)").arg(s).arg(p).arg(QLatin1String(name)));
            return true;
        }
    }
    return false;
}

void Judgement::judgeIdentity(int first, const char *name, std::optional<StationIdentity> *out)
{
    *out = identifyStation(symbols(first, 5));
    if (symbolsInvalid(first, 5, name, true))
        return;
    const StationIdentity &id = **out;
    if (id.tenthDigit != 0)
        add("mmsi-check-digit",
            QStringLiteral("the %1 %2 ends in %3").arg(QLatin1String(name), id.mmsi).arg(id.tenthDigit));
    if (id.mid && (*id.mid < 201 || *id.mid > 775))
        add("mid-unallocated",
            QStringLiteral("the %1 %2 (%3) carries MID %4").arg(QLatin1String(name), id.mmsi, id.type).arg(*id.mid));
}

void Judgement::judgePosition(int first)
{
    if (symbolsInvalid(first, 5, "position", true))
        return;
    QString digits;
    for (int s : symbols(first, 5))
        digits += twoDigits(s);
    if (digits == QLatin1String("9999999999"))
        return; // no position
    QStringList wrong;
    const int quadrant = digits.mid(0, 1).toInt();
    const int latDegrees = digits.mid(1, 2).toInt();
    const int latMinutes = digits.mid(3, 2).toInt();
    const int lonDegrees = digits.mid(5, 3).toInt();
    const int lonMinutes = digits.mid(8, 2).toInt();
    if (quadrant > 3)
        wrong << QStringLiteral("quadrant digit %1").arg(quadrant);
    if (latDegrees > 90)
        wrong << QStringLiteral("latitude %1 degrees").arg(latDegrees);
    if (latMinutes > 59)
        wrong << QStringLiteral("latitude minutes %1").arg(latMinutes);
    if (lonDegrees > 180)
        wrong << QStringLiteral("longitude %1 degrees").arg(lonDegrees);
    if (lonMinutes > 59)
        wrong << QStringLiteral("longitude minutes %1").arg(lonMinutes);
    if (!wrong.isEmpty())
        add("position-invalid",
            QStringLiteral("The position %1 is not a place on earth: %2.").arg(digits, joined(wrong)));
}

void Judgement::judgeTime(int first)
{
    if (symbolsInvalid(first, 2, "time", true))
        return;
    const int hours = at(first);
    const int minutes = at(first + 1);
    if (hours == kNoTimeSymbol && minutes == kNoTimeSymbol)
        return; // no time
    if (hours > 23 || minutes > 59)
        add("time-invalid",
            QStringLiteral("The time %1:%2 is not a time of day.").arg(twoDigits(hours), twoDigits(minutes)));
}

void Judgement::judgeFrequency(int first)
{
    for (int half = first; half < first + 6; half += 3) {
        const QList<int> s = symbols(half, 3);
        const bool noInformation =
            s[0] == kNoFrequencySymbol && s[1] == kNoFrequencySymbol && s[2] == kNoFrequencySymbol;
        // Once a field has an invalid symbol, the other half adds nothing.
        if (!noInformation && symbolsInvalid(half, 3, "frequency", true))
            return;
    }
}

QString Judgement::findingText(const QString &code, const QStringList &details) const
{
    const int n = static_cast<int>(details.size());
    if (code == QLatin1String("symbol-invalid"))
        return (n == 1 ? QStringLiteral("A symbol that cannot stand where it is: ")
                       : QStringLiteral("Symbols that cannot stand where they are: "))
               + joined(details) + QLatin1Char('.');
    if (code == QLatin1String("telecommand-unknown"))
        return sentence(joined(details))
               + (n == 1 ? QStringLiteral(" has no meaning.") : QStringLiteral(" have no meaning."));
    if (code == QLatin1String("mmsi-check-digit"))
        return sentence(joined(details)) + QStringLiteral("; a correct call sends 0 as the tenth digit.");
    if (code == QLatin1String("mid-unallocated"))
        return sentence(joined(details)) + QStringLiteral(", outside the allocated 201 to 775.");
    return details.join(QLatin1Char(' '));
}

void Judgement::finish(CallCheck &check) const
{
    bool warn = false;
    bool fail = false;
    for (const CodeInfo &info : kCodes) {
        const QString code = QString::fromLatin1(info.code);
        if (!details_.contains(code))
            continue;
        check.findings.append({code, info.severity, findingText(code, details_.value(code))});
        (info.severity == CheckSeverity::Failure ? fail : warn) = true;
    }
    check.verdict = fail ? CheckVerdict::Fail : warn ? CheckVerdict::Warn : CheckVerdict::Pass;
}

CallCheck Judgement::run()
{
    CallCheck check;
    if (reaches(kFormatPosition))
        check.format = at(kFormatPosition);
    if (!reaches(kFormatRepeat)) {
        add("record-short", size() == 0 ? QStringLiteral("The record is empty.")
                                        : QStringLiteral("The record ends at position %1, before the format "
                                                         "specifier at positions 39 and 40.")
                                              .arg(size()));
        finish(check);
        return check;
    }
    const int format = at(kFormatPosition);
    if (format != at(kFormatRepeat))
        add("format-mismatch", QStringLiteral("The format specifier was received as %1 and then as %2.")
                                   .arg(format)
                                   .arg(at(kFormatRepeat)));
    QString shortText;
    const std::optional<Layout> found = layout(&shortText);
    if (!found) {
        if (shortText.isEmpty())
            add("format-unknown",
                QStringLiteral("Format specifier %1 is not a call format that can be checked.").arg(format));
        else
            add("record-short", shortText);
        finish(check);
        return check;
    }
    const Layout &l = *found;
    check.kind = l.kind;

    // Fields in the order of the call.
    if (l.area)
        symbolsInvalid(l.area, 5, "geographic area", true);
    if (l.address)
        judgeIdentity(l.address, "address", &check.address);
    if (l.category && !symbolsInvalid(l.category, 1, "category", false) && category_meaning(at(l.category)).isEmpty())
        add("category-unknown",
            QStringLiteral("Category %1 is not routine, safety, urgency or distress.").arg(at(l.category)));
    judgeIdentity(l.self, "self-identification", &check.self);
    if (l.distressed)
        judgeIdentity(l.distressed, "identity of the ship in distress", &check.distressed);
    for (const Command &command : l.commands) {
        if (symbolsInvalid(command.position, 1, command.name, false))
            continue;
        const int value = at(command.position);
        const bool known = command.second ? !second_telecommand_meaning(value).isEmpty()
                                          : !first_telecommand_meaning(value).isEmpty();
        if (!known)
            add("telecommand-unknown", QStringLiteral("the %1 %2").arg(QLatin1String(command.name)).arg(value));
    }
    // The nature table answers "No information" for every value it does not hold.
    if (l.nature && !symbolsInvalid(l.nature, 1, "nature of distress", false)
        && nature_meaning(at(l.nature)) == nature_meaning(-1))
        add("nature-unknown", QStringLiteral("Nature of distress %1 has no meaning.").arg(at(l.nature)));
    if (l.position)
        judgePosition(l.position);
    if (l.time)
        judgeTime(l.time);
    if (l.frequency)
        judgeFrequency(l.frequency);
    if (l.telephone)
        symbolsInvalid(l.telephone, l.eos - l.telephone, "telephone number", false);

    const int eos = at(l.eos);
    if (!symbolsInvalid(l.eos, 1, "end of sequence", false) && !isEos(eos))
        add("eos-invalid", QStringLiteral("The end-of-sequence symbol is %1, not 117, 122 or 127.").arg(eos));

    int computed = format;
    for (int p = kFirstAfterFormat; p <= l.eos; ++p)
        computed ^= at(p);
    check.computedEcc = computed;
    check.receivedEcc = at(l.eos + 1);
    symbolsInvalid(l.eos + 1, 1, "error-check character", false);
    if (!check.eccMatch())
        add("ecc-mismatch", QStringLiteral("The error-check character received is %1, but the symbols give %2.")
                                .arg(*check.receivedEcc)
                                .arg(computed));

    symbolsInvalid(l.eos + 2, 2, "closing symbols", false);
    if (!reaches(l.eos + 3))
        add("eos-mismatch", QStringLiteral("The record ends at position %1, before both closing symbols after the "
                                           "error-check character.")
                                .arg(size()));
    else if (at(l.eos + 2) != eos || at(l.eos + 3) != eos)
        add("eos-mismatch", QStringLiteral("The closing symbols %1 %2 differ from the end-of-sequence symbol %3.")
                                .arg(at(l.eos + 2))
                                .arg(at(l.eos + 3))
                                .arg(eos));

    const char verdict = record_.at(kVerdictPosition - 1);
    if (verdict == '1' && !check.eccMatch())
        add("verdict-disagrees", QStringLiteral("The test set found the error-check character right, but it does not "
                                                "match the symbols."));
    else if (verdict == '0' && check.eccMatch())
        add("verdict-disagrees", QStringLiteral("The test set found the error-check character wrong, but it matches "
                                                "the symbols."));
    finish(check);
    return check;
}

struct Prefix {
    const char *digits;
    const char *type;
    int midFrom; // the MID's first digit, counted from 1; 0 for a type without MID
};

// Tried in this order: the first prefix that fits decides.
constexpr Prefix kPrefixes[] = {
    {"970", "ais-sart", 0},
    {"972", "mob-device", 0},
    {"974", "epirb-ais", 0},
    {"98", "craft-with-parent-ship", 3},
    {"99", "aid-to-navigation", 3},
    {"111", "sar-aircraft", 4},
    {"00", "coast", 3},
    {"0", "group", 2},
    {"8", "handheld", 2},
    {"2", "ship", 1},
    {"3", "ship", 1},
    {"4", "ship", 1},
    {"5", "ship", 1},
    {"6", "ship", 1},
    {"7", "ship", 1},
};

constexpr const char *kRegions[] = {
    "Europe", "North and Central America and Caribbean", "Asia", "Oceania", "Africa", "South America",
};

} // namespace

bool CallCheck::has(const QString &code) const
{
    return std::any_of(findings.cbegin(), findings.cend(), [&](const CheckFinding &f) { return f.code == code; });
}

QStringList CallCheck::codes() const
{
    QStringList out;
    for (const CheckFinding &f : findings)
        out << f.code;
    return out;
}

CallCheck checkRecord(const QByteArray &record)
{
    return Judgement(record).run();
}

StationIdentity identifyStation(const QList<int> &symbols)
{
    StationIdentity id;
    QString digits;
    for (int s : symbols) {
        if (s < 0 || s >= 100) {
            id.type = QStringLiteral("invalid");
            return id;
        }
        digits += twoDigits(s);
    }
    id.mmsi = digits.left(9);
    id.tenthDigit = digits.size() >= 10 ? digits.at(9).digitValue() : -1;
    id.type = QStringLiteral("unknown");
    for (const Prefix &prefix : kPrefixes) {
        if (!digits.startsWith(QLatin1String(prefix.digits)))
            continue;
        id.type = QString::fromLatin1(prefix.type);
        if (prefix.midFrom) {
            id.mid = digits.mid(prefix.midFrom - 1, 3).toInt();
            const int region = digits.at(prefix.midFrom - 1).digitValue();
            if (region >= 2 && region <= 7)
                id.region = QString::fromLatin1(kRegions[region - 2]);
        }
        break;
    }
    return id;
}

QString verdictName(CheckVerdict verdict)
{
    switch (verdict) {
    case CheckVerdict::Pass: return QStringLiteral("pass");
    case CheckVerdict::Warn: return QStringLiteral("warn");
    case CheckVerdict::Fail: return QStringLiteral("fail");
    }
    return QString();
}

QString severityName(CheckSeverity severity)
{
    return severity == CheckSeverity::Failure ? QStringLiteral("fail") : QStringLiteral("warn");
}

QString kindName(CallKind kind)
{
    switch (kind) {
    case CallKind::DistressAlert: return QStringLiteral("distress-alert");
    case CallKind::DistressAcknowledgement: return QStringLiteral("distress-acknowledgement");
    case CallKind::DistressRelay: return QStringLiteral("distress-relay");
    case CallKind::Call: return QStringLiteral("call");
    case CallKind::Unknown: return QStringLiteral("unknown");
    }
    return QString();
}

} // namespace kelpra
