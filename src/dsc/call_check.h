#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// An independent judgement of a received call against ITU-R M.493: its layout, the
// error-check character computed from the symbols, the identities it carries and what is
// wrong with it. It sits beside the test set's own ECC verdict and changes nothing the
// decoders show.
namespace kelpra {

enum class CheckSeverity { Warning, Failure };
enum class CheckVerdict { Pass, Warn, Fail };
enum class CallKind { DistressAlert, DistressAcknowledgement, DistressRelay, Call, Unknown };

struct CheckFinding {
    QString code;   // "ecc-mismatch", "mid-unallocated", ...
    CheckSeverity severity = CheckSeverity::Failure;
    QString text;   // one plain sentence for the engineer

    bool operator==(const CheckFinding &other) const
    {
        return code == other.code && severity == other.severity && text == other.text;
    }
};

// What the ten digits of five identity symbols say about a station.
struct StationIdentity {
    // "ship", "coast", "group", ..., "unknown"; "invalid" when a symbol is 100 or more.
    QString type;
    QString mmsi;            // the first nine digits; empty for "invalid"
    // The tenth digit: 0 when the call concerns the whole installation, otherwise the piece
    // of equipment it is for (ITU-R M.1080); -1 for "invalid".
    int equipment = -1;
    std::optional<int> mid;  // the Maritime Identification Digits, for types that carry them
    QString region;          // from the MID's first digit; empty when there is none
    // The flag state of the MID; both empty when there is no MID or the ITU has not
    // allocated it, `iso` also where the area has no ISO 3166 code.
    QString country;
    QString iso;

    bool operator==(const StationIdentity &other) const
    {
        return type == other.type && mmsi == other.mmsi && equipment == other.equipment && mid == other.mid
               && region == other.region && country == other.country && iso == other.iso;
    }
};

struct CallCheck {
    CheckVerdict verdict = CheckVerdict::Pass;
    CallKind kind = CallKind::Unknown;
    std::optional<int> format;       // S[39]; none when the record does not reach it
    // The error-check character as received and as computed, and the position it was
    // received at (61 in most calls, 56 in a distress alert, further on where message 2 is
    // longer); none for a record that ends before it and for an unknown format.
    std::optional<int> receivedEcc;
    std::optional<int> computedEcc;
    std::optional<int> eccPosition;
    std::optional<StationIdentity> self;
    std::optional<StationIdentity> address;     // the called station of 120, 114 and 123
    std::optional<StationIdentity> distressed;  // the ship in distress of a relay or acknowledgement
    // Where the layout has them and the record holds them: the category, the first
    // telecommand (none in a distress alert), and the ten digits of a 102 call's geographic
    // area (empty when a symbol there is no digit).
    std::optional<int> category;
    std::optional<int> firstTelecommand;
    QString area;
    // In a fixed order, failures first; each code at most once.
    QList<CheckFinding> findings;

    bool eccMatch() const { return receivedEcc && computedEcc && *receivedEcc == *computedEcc; }
    bool has(const QString &code) const;
    QStringList codes() const;
};

// Judges one record: the slot's bytes as they stand, positions counted from 1, the DSC
// symbols from position 33 on and the test set's ECC verdict at position 16.
CallCheck checkRecord(const QByteArray &record);

// Type, MMSI, equipment digit, MID, region and flag state of five identity symbols.
StationIdentity identifyStation(const QList<int> &symbols);

// What the window's check row explains on demand, one line each: every finding as
// "fail: ..." or "warn: ...", where the error-check character stands when the ECC row does
// not show it, and the identities as "Self MMSI 238230000 — Croatia (HR)".
QStringList checkDetailLines(const CallCheck &check);

// The names scripts read: "pass"/"warn"/"fail", "warn"/"fail", "distress-alert", ...
QString verdictName(CheckVerdict verdict);
QString severityName(CheckSeverity severity);
QString kindName(CallKind kind);

} // namespace kelpra
