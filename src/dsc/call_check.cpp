#include "call_check.h"

#include "flag_states.h"
#include "vocabulary.h"

#include <QMap>

#include <algorithm>
#include <iterator>

namespace kelpra {

namespace {

constexpr int kVerdictPosition = 16;
constexpr int kFormatPosition = 39;
constexpr int kFormatRepeat = 40;
constexpr int kFirstAfterFormat = 41;
// A download never delivers less; a shorter record is damaged, not a call cut by the test set.
constexpr int kShortestDownload = 64;
// Where the window's ECC rows read the error-check character.
constexpr int kCallEccRow = 61;
constexpr int kAlertEccRow = 56;
constexpr int kNoTimeSymbol = 88;
constexpr int kNoInformation = 126;
constexpr int kCallerPosition = 55;

struct CodeInfo {
    const char *code;
    CheckSeverity severity;
};

// Every finding, in the order a record lists them: failures first. Only what a receiver
// would surely reject fails; what this check cannot be sure of warns.
constexpr CodeInfo kCodes[] = {
    {"record-short", CheckSeverity::Failure},
    {"format-mismatch", CheckSeverity::Failure},
    {"format-unknown", CheckSeverity::Failure},
    {"category-unknown", CheckSeverity::Failure},
    {"telecommand-unknown", CheckSeverity::Failure},
    {"symbol-invalid", CheckSeverity::Failure},
    {"message-invalid", CheckSeverity::Failure},
    {"eos-invalid", CheckSeverity::Failure},
    {"eos-mismatch", CheckSeverity::Failure},
    {"ecc-mismatch", CheckSeverity::Failure},
    {"call-cut", CheckSeverity::Warning},
    {"closing-cut", CheckSeverity::Warning},
    {"expansion-unchecked", CheckSeverity::Warning},
    {"verdict-disagrees", CheckSeverity::Warning},
    {"eos-unexpected", CheckSeverity::Warning},
    {"telecommand-obsolete", CheckSeverity::Warning},
    {"subsequent-unexpected", CheckSeverity::Warning},
    {"mid-unallocated", CheckSeverity::Warning},
    {"area-invalid", CheckSeverity::Warning},
    {"position-invalid", CheckSeverity::Warning},
    {"time-invalid", CheckSeverity::Warning},
    {"nature-unknown", CheckSeverity::Warning},
};

// The first telecommands ITU-R M.493-15 still assigns; the vocabulary names a few more
// that older editions had.
constexpr int kAssignedFirstTelecommands[] = {100, 101, 103, 104, 105, 106, 109, 110, 112, 113, 115, 118, 121, 126};
// What a distress alert, acknowledgement or relay may propose for the traffic after it.
constexpr int kDistressSubsequent[] = {100, 109, 113, 126};

template <std::size_t N>
bool among(const int (&values)[N], int value)
{
    return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

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

QString digitString(const QList<int> &symbols)
{
    QString digits;
    for (int s : symbols)
        digits += twoDigits(s);
    return digits;
}

// One telecommand-like symbol of a layout.
struct Command {
    enum Role { First, Second, Subsequent };
    int position;
    const char *name;
    Role role;
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
    int message = 0;     // the first symbol of message 2 (frequencies or a position); 0 in a distress layout
    QList<Command> commands;
    int eos = 0;         // 0 when the record ends before message 2 does
};

class Judgement {
public:
    explicit Judgement(const QByteArray &record) : record_(record) {}

    CallCheck run();

private:
    int size() const { return static_cast<int>(record_.size()); }
    bool reaches(int position) const { return position >= 1 && position <= size(); }
    // A field of the layout that the record holds whole.
    bool holds(int first, int count) const { return first > 0 && reaches(first + count - 1); }
    int at(int position) const { return static_cast<unsigned char>(record_.at(position - 1)); }
    QList<int> symbols(int first, int count) const
    {
        QList<int> out;
        for (int p = first; p < first + count; ++p)
            out.append(at(p));
        return out;
    }
    bool digitsAt(int first, int count) const
    {
        for (int p = first; p < first + count; ++p) {
            if (at(p) >= 100)
                return false;
        }
        return true;
    }

    void add(const char *code, const QString &detail) { details_[QString::fromLatin1(code)].append(detail); }

    std::optional<Layout> layout(QString *shortText) const;
    int endOfMessage(int start, int format) const;
    bool symbolsInvalid(int first, int count, const char *name, bool digits);
    void judgeIdentity(int first, const char *name, std::optional<StationIdentity> *out);
    void judgeCommand(const Command &command);
    void judgeArea(int first);
    void judgePosition(int first);
    void judgeTime(int first);
    void judgeMessage(int first, int eos, int firstTelecommand);
    bool frequenciesFit(int first, int eos) const;
    void judgeEos(int position, int format);
    void judgeClosing(int eos);
    QString findingText(const QString &code, const QStringList &details) const;
    void finish(CallCheck &check) const;

    const QByteArray &record_;
    // The details of every code found so far; a code is reported once with all of them.
    QMap<QString, QStringList> details_;
};

// Message 2 ends at its EOS: the first symbol from `start` on that no form of message 2
// holds. 0 when the record ends first.
int Judgement::endOfMessage(int start, int format) const
{
    for (int p = start; reaches(p); ++p) {
        const int s = at(p);
        const bool inMessage = s < 100 || s == kNoInformation || (format == 123 && (s == 105 || s == 106));
        if (!inMessage)
            return p;
    }
    return 0;
}

// The layout the format specifier, category and first telecommand choose; none for an
// unknown format, or, with `shortText` saying why, for a record that ends before the fields
// that choose it.
std::optional<Layout> Judgement::layout(QString *shortText) const
{
    const int format = at(kFormatPosition);
    Layout l;
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
        l.commands = {{54, "subsequent communication", Command::Subsequent}};
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
            l.commands = {{47, "telecommand", Command::First}, {61, "subsequent communication", Command::Subsequent}};
            l.distressed = 48;
            l.nature = 53;
            l.position = 54;
            l.time = 59;
            l.eos = 62;
        } else {
            l.commands = {{47, "first telecommand", Command::First}, {48, "second telecommand", Command::Second}};
            l.message = 49;
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
            l.commands = {{52, "first telecommand", Command::First}, {66, "subsequent communication", Command::Subsequent}};
            l.distressed = 53;
            l.nature = 58;
            l.position = 59;
            l.time = 64;
            l.eos = 67;
        } else {
            l.commands = {{52, "first telecommand", Command::First}, {53, "second telecommand", Command::Second}};
            l.message = 54;
        }
    } else {
        return std::nullopt; // an unknown format: no layout, and `shortText` stays empty
    }
    if (l.message)
        l.eos = endOfMessage(l.message, format);
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
    if (id.mid && id.country.isEmpty())
        add("mid-unallocated",
            QStringLiteral("the %1 %2 (%3) carries MID %4").arg(QLatin1String(name), id.mmsi, id.type).arg(*id.mid));
}

// A subsequent communication gets at most one finding: unknown, then obsolete, then unexpected.
void Judgement::judgeCommand(const Command &command)
{
    if (symbolsInvalid(command.position, 1, command.name, false))
        return;
    const int value = at(command.position);
    const bool second = command.role == Command::Second;
    const QByteArray meaning = second ? secondTelecommandMeaning(value) : firstTelecommandMeaning(value);
    const QString what = QStringLiteral("the %1 %2").arg(QLatin1String(command.name)).arg(value);
    const bool assigned = second ? (value <= 113 || value == kNoInformation) : among(kAssignedFirstTelecommands, value);
    if (meaning.isEmpty())
        add("telecommand-unknown", what);
    else if (!assigned)
        add("telecommand-obsolete", what + QStringLiteral(" (%1)").arg(QString::fromLatin1(meaning)));
    else if (command.role == Command::Subsequent && !among(kDistressSubsequent, value))
        add("subsequent-unexpected",
            QStringLiteral("The subsequent communication %1 is not one a distress call proposes: F3E/G3E or J3E "
                           "telephony, F1B/J2B FEC or no information.")
                .arg(value));
}

// What puts a quadrant digit and whole degrees of latitude and longitude off the earth.
QStringList offEarth(int quadrant, int latitude, int longitude)
{
    QStringList wrong;
    if (quadrant > 3)
        wrong << QStringLiteral("quadrant digit %1").arg(quadrant);
    if (latitude > 90)
        wrong << QStringLiteral("latitude %1 degrees").arg(latitude);
    if (longitude > 180)
        wrong << QStringLiteral("longitude %1 degrees").arg(longitude);
    return wrong;
}

// Ten digits: the quadrant, then the latitude (two) and longitude (three) of the area's
// reference point, then its extent, which any digits may give.
void Judgement::judgeArea(int first)
{
    if (symbolsInvalid(first, 5, "geographic area", true))
        return;
    const QString digits = digitString(symbols(first, 5));
    const QStringList wrong = offEarth(digits.mid(0, 1).toInt(), digits.mid(1, 2).toInt(), digits.mid(3, 3).toInt());
    if (!wrong.isEmpty())
        add("area-invalid",
            QStringLiteral("The geographic area %1 has no reference point on earth: %2.").arg(digits, joined(wrong)));
}

void Judgement::judgePosition(int first)
{
    if (symbolsInvalid(first, 5, "position", true))
        return;
    const QString digits = digitString(symbols(first, 5));
    if (digits == QLatin1String("9999999999"))
        return; // no position
    const int latDegrees = digits.mid(1, 2).toInt();
    const int latMinutes = digits.mid(3, 2).toInt();
    const int lonDegrees = digits.mid(5, 3).toInt();
    const int lonMinutes = digits.mid(8, 2).toInt();
    QStringList wrong = offEarth(digits.mid(0, 1).toInt(), latDegrees, lonDegrees);
    // The minutes count too: 90 degrees 01 minutes is past the pole.
    if (latMinutes > 59)
        wrong << QStringLiteral("latitude minutes %1").arg(latMinutes);
    else if (latDegrees == 90 && latMinutes > 0)
        wrong << QStringLiteral("latitude 90 degrees %1 minutes").arg(twoDigits(latMinutes));
    if (lonMinutes > 59)
        wrong << QStringLiteral("longitude minutes %1").arg(lonMinutes);
    else if (lonDegrees == 180 && lonMinutes > 0)
        wrong << QStringLiteral("longitude 180 degrees %1 minutes").arg(twoDigits(lonMinutes));
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

// Two frequencies, each "no information" (126 three times) or digits: three symbols, four
// when its text begins with 4 (a frequency in 10 Hz steps).
bool Judgement::frequenciesFit(int first, int eos) const
{
    int p = first;
    for (int half = 0; half < 2; ++half) {
        if (p < eos && at(p) == kNoInformation) {
            if (p + 3 > eos || at(p + 1) != kNoInformation || at(p + 2) != kNoInformation)
                return false;
            p += 3;
            continue;
        }
        const int count = p < eos && at(p) >= 40 && at(p) <= 49 ? 4 : 3;
        if (p + count > eos || !digitsAt(p, count))
            return false;
        p += count;
    }
    return p == eos;
}

// Message 2, from `first` up to the EOS, holds only digits and 126 (and 105, 106 in 123).
void Judgement::judgeMessage(int first, int eos, int firstTelecommand)
{
    const int count = eos - first;
    if (at(kFormatPosition) == 123)
        return; // the semi-automatic layout is not settled enough to judge
    // The reply to a position request: the position, 126, and perhaps the time of the position.
    if (firstTelecommand == 121 && (count == 6 || count == 8) && digitsAt(first, 5)
        && at(first + 5) == kNoInformation && (count == 6 || digitsAt(first + 6, 2))) {
        judgePosition(first);
        if (count == 8)
            judgeTime(first + 6);
        return;
    }
    if (count == 6 && at(first) == kCallerPosition) {
        if (digitsAt(first + 1, 5)) {
            judgePosition(first + 1);
            return;
        }
    } else if (frequenciesFit(first, eos)) {
        return;
    }
    add("message-invalid", QStringLiteral("The frequency or position part of the call has %1 symbols and fits no "
                                          "form of ITU-R M.493.")
                               .arg(count));
}

// The EOS alone, wherever it stands: a byte above 127 there is no EOS, not a symbol of
// another field.
void Judgement::judgeEos(int position, int format)
{
    const int eos = at(position);
    if (!isEos(eos)) {
        add("eos-invalid", QStringLiteral("the end-of-sequence symbol at position %1 is %2").arg(position).arg(eos));
        return;
    }
    const bool individual = format == 120 || format == 123;
    if (individual && eos == 127)
        add("eos-unexpected", QStringLiteral("The end-of-sequence symbol is 127, but a call of format %1 ends in 117 "
                                             "(acknowledgement requested) or 122 (acknowledgement).")
                                  .arg(format));
    else if (!individual && eos != 127)
        add("eos-unexpected",
            QStringLiteral("The end-of-sequence symbol is %1, but a call of format %2 ends in 127.").arg(eos).arg(format));
}

// The two symbols after the ECC repeat the EOS, unless an expansion message follows.
void Judgement::judgeClosing(int eosPosition)
{
    const int eos = at(eosPosition);
    const int first = eosPosition + 2;
    if (reaches(first) && at(first) != eos && at(first) >= 100 && at(first) <= 106) {
        add("expansion-unchecked", QStringLiteral("The symbol after the error-check character is %1, an expansion "
                                                  "specifier of ITU-R M.821: what follows is not checked.")
                                       .arg(at(first)));
        return;
    }
    bool differs = false;
    for (int p = first; p <= first + 1 && reaches(p); ++p) {
        if (at(p) > 127 && at(p) != eos)
            add("eos-invalid", QStringLiteral("the closing symbol at position %1 is %2").arg(p).arg(at(p)));
        else
            differs = differs || at(p) != eos;
    }
    if (!reaches(first + 1))
        add("closing-cut", QStringLiteral("The record ends at position %1, before both closing symbols after the "
                                          "error-check character: the test set did not keep the end of the call.")
                               .arg(size()));
    if (!differs)
        return;
    if (reaches(first + 1))
        add("eos-mismatch", QStringLiteral("The closing symbols %1 %2 differ from the end-of-sequence symbol %3.")
                                .arg(at(first))
                                .arg(at(first + 1))
                                .arg(eos));
    else
        add("eos-mismatch",
            QStringLiteral("The closing symbol %1 differs from the end-of-sequence symbol %2.").arg(at(first)).arg(eos));
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
    if (code == QLatin1String("telecommand-obsolete"))
        return sentence(joined(details))
               + (n == 1 ? QStringLiteral(" is no longer assigned in ITU-R M.493.")
                         : QStringLiteral(" are no longer assigned in ITU-R M.493."));
    if (code == QLatin1String("eos-invalid"))
        return sentence(joined(details)) + QStringLiteral(", not 117, 122 or 127.");
    if (code == QLatin1String("mid-unallocated"))
        return sentence(joined(details))
               + (n == 1 ? QStringLiteral(", a MID the ITU has not allocated.")
                         : QStringLiteral(", MIDs the ITU has not allocated."));
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
    const int eccPosition = l.eos ? l.eos + 1 : 0;
    // A record that ends before its ECC: damaged when shorter than any download, otherwise
    // a call longer than the test set keeps, judged as far as it goes.
    const bool cut = !reaches(eccPosition);
    if (cut && size() < kShortestDownload) {
        add("record-short", l.eos ? QStringLiteral("The record ends at position %1, before the error-check "
                                                   "character at position %2.")
                                        .arg(size())
                                        .arg(eccPosition)
                                  : QStringLiteral("The record ends at position %1 with no end-of-sequence symbol "
                                                   "from position %2 on.")
                                        .arg(size())
                                        .arg(l.message));
        finish(check);
        return check;
    }
    check.kind = l.kind;
    if (cut)
        add("call-cut", QStringLiteral("The test set kept %1 bytes; the call goes on past them, so its end cannot "
                                       "be judged.")
                            .arg(size()));

    if (holds(l.category, 1))
        check.category = at(l.category);
    for (const Command &command : l.commands) {
        if (command.role == Command::First && holds(command.position, 1))
            check.firstTelecommand = at(command.position);
    }
    if (holds(l.area, 5) && digitsAt(l.area, 5))
        check.area = digitString(symbols(l.area, 5));

    // Fields in the order of the call, each as far as the record holds it.
    if (holds(l.area, 5))
        judgeArea(l.area);
    if (holds(l.address, 5))
        judgeIdentity(l.address, "address", &check.address);
    if (holds(l.category, 1) && !symbolsInvalid(l.category, 1, "category", false)
        && categoryMeaning(at(l.category)).isEmpty())
        add("category-unknown",
            QStringLiteral("Category %1 is not routine, safety, urgency or distress.").arg(at(l.category)));
    if (holds(l.self, 5))
        judgeIdentity(l.self, "self-identification", &check.self);
    if (holds(l.distressed, 5))
        judgeIdentity(l.distressed, "identity of the ship in distress", &check.distressed);
    for (const Command &command : l.commands) {
        if (holds(command.position, 1))
            judgeCommand(command);
    }
    // The nature table answers "No information" for every value it does not hold.
    if (holds(l.nature, 1) && !symbolsInvalid(l.nature, 1, "nature of distress", false)
        && natureMeaning(at(l.nature)) == natureMeaning(-1))
        add("nature-unknown", QStringLiteral("Nature of distress %1 has no meaning.").arg(at(l.nature)));
    if (holds(l.position, 5))
        judgePosition(l.position);
    if (holds(l.time, 2))
        judgeTime(l.time);
    if (l.message && l.eos)
        judgeMessage(l.message, l.eos, at(l.commands.constFirst().position));
    if (holds(l.eos, 1))
        judgeEos(l.eos, format);
    if (cut) {
        finish(check);
        return check;
    }

    int computed = format;
    for (int p = kFirstAfterFormat; p <= l.eos; ++p)
        computed ^= at(p);
    check.computedEcc = computed;
    check.receivedEcc = at(eccPosition);
    check.eccPosition = eccPosition;
    symbolsInvalid(eccPosition, 1, "error-check character", false);
    if (!check.eccMatch())
        add("ecc-mismatch", QStringLiteral("The error-check character received is %1, but the symbols give %2.")
                                .arg(*check.receivedEcc)
                                .arg(computed));
    judgeClosing(l.eos);

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
    id.equipment = digits.size() >= 10 ? digits.at(9).digitValue() : -1;
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
            if (const std::optional<FlagState> flag = flagState(*id.mid)) {
                id.country = flag->country;
                id.iso = flag->iso;
            }
        }
        break;
    }
    return id;
}

QStringList checkDetailLines(const CallCheck &check)
{
    QStringList lines;
    for (const CheckFinding &finding : check.findings)
        lines << severityName(finding.severity) + QStringLiteral(": ") + finding.text;
    // The window's ECC row shows one fixed position; say so when the call put its ECC elsewhere.
    const int row = check.kind == CallKind::DistressAlert ? kAlertEccRow : kCallEccRow;
    if (check.eccPosition && *check.eccPosition != row)
        lines << QStringLiteral("ECC received at position %1; the ECC row shows position %2.")
                     .arg(*check.eccPosition)
                     .arg(row);
    const QPair<const char *, const std::optional<StationIdentity> *> identities[] = {
        {"Self", &check.self}, {"Address", &check.address}, {"In distress", &check.distressed}};
    for (const auto &[role, identity] : identities) {
        if (!*identity || (*identity)->type == QLatin1String("invalid"))
            continue; // a symbol-invalid finding already names it
        const StationIdentity &id = **identity;
        QString line = QStringLiteral("%1 MMSI %2 \u2014 ").arg(QLatin1String(role), id.mmsi);
        if (!id.country.isEmpty())
            line += id.iso.isEmpty() ? id.country : QStringLiteral("%1 (%2)").arg(id.country, id.iso);
        else if (id.mid)
            line += QStringLiteral("MID %1 not allocated").arg(*id.mid);
        else
            line += id.type + QStringLiteral(", no flag state");
        if (id.equipment != 0)
            line += QStringLiteral(", equipment %1").arg(id.equipment);
        lines << line;
    }
    return lines;
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
