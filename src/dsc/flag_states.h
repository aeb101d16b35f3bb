#pragma once

#include <QString>

#include <optional>

// The flag state behind a Maritime Identification Digit: the country or geographical area
// the ITU has allocated the MID to.
namespace kelpra {

struct FlagState {
    QString country; // "Croatia", "Madeira", ...
    QString iso;     // ISO 3166 alpha-2 ("HR"); empty where the area has none, as for 306

    bool operator==(const FlagState &other) const { return country == other.country && iso == other.iso; }
};

// None for a MID the ITU has not allocated.
std::optional<FlagState> flagState(int mid);

} // namespace kelpra
