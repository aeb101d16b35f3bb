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
    int tenthDigit = -1;     // 0 in a correct call; -1 for "invalid"
    std::optional<int> mid;  // the Maritime Identification Digits, for types that carry them
    QString region;          // from the MID's first digit; empty when there is none

    bool operator==(const StationIdentity &other) const
    {
        return type == other.type && mmsi == other.mmsi && tenthDigit == other.tenthDigit && mid == other.mid
               && region == other.region;
    }
};

struct CallCheck {
    CheckVerdict verdict = CheckVerdict::Pass;
    CallKind kind = CallKind::Unknown;
    std::optional<int> format;       // S[39]; none when the record does not reach it
    // The error-check character as received and as computed; none for a record too short
    // for its layout and for an unknown format.
    std::optional<int> receivedEcc;
    std::optional<int> computedEcc;
    std::optional<StationIdentity> self;
    std::optional<StationIdentity> address;     // the called station of 120, 114 and 123
    std::optional<StationIdentity> distressed;  // the ship in distress of a relay or acknowledgement
    // In a fixed order, failures first; each code at most once.
    QList<CheckFinding> findings;

    bool eccMatch() const { return receivedEcc && computedEcc && *receivedEcc == *computedEcc; }
    bool has(const QString &code) const;
    QStringList codes() const;
};

// Judges one record: the slot's bytes as they stand, positions counted from 1, the DSC
// symbols from position 33 on and the test set's ECC verdict at position 16.
CallCheck checkRecord(const QByteArray &record);

// Type, MMSI, MID and region of five identity symbols.
StationIdentity identifyStation(const QList<int> &symbols);

// The names scripts read: "pass"/"warn"/"fail", "warn"/"fail", "distress-alert", ...
QString verdictName(CheckVerdict verdict);
QString severityName(CheckSeverity severity);
QString kindName(CallKind kind);

} // namespace kelpra
