#include "flag_states.h"

#include "mid_table.h"

#include <algorithm>
#include <iterator>

namespace kelpra {

namespace {

constexpr bool sortedByMid()
{
    for (std::size_t i = 1; i < std::size(mid_table::kEntries); ++i) {
        if (mid_table::kEntries[i - 1].mid >= mid_table::kEntries[i].mid)
            return false;
    }
    return true;
}

// The lookup below searches by halves.
static_assert(sortedByMid(), "mid_table.h must list every MID once, in ascending order");

} // namespace

std::optional<FlagState> flagState(int mid)
{
    const auto *begin = std::begin(mid_table::kEntries);
    const auto *end = std::end(mid_table::kEntries);
    const auto *found =
        std::lower_bound(begin, end, mid, [](const mid_table::Entry &entry, int wanted) { return entry.mid < wanted; });
    if (found == end || found->mid != mid)
        return std::nullopt;
    return FlagState{QString::fromUtf8(found->country), QString::fromLatin1(found->iso)};
}

} // namespace kelpra
