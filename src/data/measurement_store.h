#pragma once

#include <QByteArray>
#include <array>

namespace kelpra {

// The one place in memory where measurement data lives while the program runs.
// Slot 0 holds the test set's identification line, slots 1..16 one raw record each.
// Slots are byte strings: a DSC symbol of value 0 is an ordinary byte, never an end mark.
class MeasurementStore {
public:
    static constexpr int kSlotCount = 17;
    static constexpr int kRecordSlots = 16;

    // A copy of the slot's bytes; an empty array for a slot number outside 0..16.
    QByteArray slot(int index) const;
    // Replaces the slot with a copy of the bytes; ignored outside 0..16. Any slot written
    // ends the sample set's mark: whatever fills the store afterwards is real data.
    void setSlot(int index, const QByteArray &bytes);

    // `record_count`: the records held, 0 to 16; `display_index`: the slot on display.
    int recordCount() const { return recordCount_; }
    void setRecordCount(int count) { recordCount_ = count; }
    int displayIndex() const { return displayIndex_; }
    void setDisplayIndex(int index) { displayIndex_ = index; }

    // Data is held exactly when slot 0 (the identification line) is not empty.
    bool holdsData() const { return !slots_[0].isEmpty(); }

    // True while the slots hold the built-in sample set: set after the sample set is
    // placed, cleared by the next write of any slot (a download or a file load).
    bool fromSampleSet() const { return fromSampleSet_; }
    void setFromSampleSet(bool sample) { fromSampleSet_ = sample; }

private:
    std::array<QByteArray, kSlotCount> slots_;
    int recordCount_ = 0;
    int displayIndex_ = 1;
    bool fromSampleSet_ = false;
};

} // namespace kelpra
