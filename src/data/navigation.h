#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelpra {

class MeasurementStore;

// What the main window shows of the navigation: the counters and which of Prev and Next
// are shown. `received` and `total` are set only by the fills; a step leaves them alone.
struct NavigationView {
    int displayIndex = 1;
    bool prevVisible = false;
    bool nextVisible = true;
    QString current;
    std::optional<QString> received;   // Label22
    std::optional<QString> total;
};

inline const QString kNoDataMessage = QStringLiteral("Please download the data or read it from file!");
inline const QString kNoDataToDecodeMessage =
    QStringLiteral("Please download the data or read it from file before decoding!");
inline const QString kSaveHint = QStringLiteral("Please use upper menu to save data in bin or txt format.");
inline const QString kDecodeHint =
    QStringLiteral("Please press Decode message button or use navigation buttons in upper right corner.");

// The last record the navigation reaches: record_count, within 1..16.
int lastRecord(const MeasurementStore &store);

// The button rule for a record on display: Prev while it is above record 1, Next while it
// is below the last record. Counters: `current` only.
NavigationView navigationAt(const MeasurementStore &store, int displayIndex);

// Next and Prev: moves display_index one record on or back, never past record 1 or the
// last record, and returns the view. Nothing moves while no data are held (nullopt).
std::optional<NavigationView> stepNext(MeasurementStore &store);
std::optional<NavigationView> stepPrevious(MeasurementStore &store);

// After a fill has replaced the records, of which `held` can be shown (record 1 to
// `held`): record 1 goes on display; the counters read `held`, 1, `held`. The fill itself
// sets record_count.
NavigationView recordsReplaced(MeasurementStore &store, int held);

// "Emulation": the sample set into slots 0..16, record_count 16, marked as the sample
// set, record 1 on display.
NavigationView loadSampleSet(MeasurementStore &store);

// The identification line as Label16 shows it: slot 0 without the zero bytes and blanks a
// test set may pad it with. The slot itself keeps every byte.
QByteArray identificationText(const QByteArray &slot0);

} // namespace kelpra
