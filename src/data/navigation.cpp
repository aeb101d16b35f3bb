#include "data/navigation.h"

#include "data/measurement_store.h"
#include "data/sample_set.h"

#include <QtGlobal>

namespace kelpra {

int lastRecord(const MeasurementStore &store)
{
    return qBound(1, store.recordCount(), MeasurementStore::kRecordSlots);
}

NavigationView navigationAt(const MeasurementStore &store, int displayIndex)
{
    NavigationView view;
    view.displayIndex = displayIndex;
    view.prevVisible = displayIndex > 1;
    view.nextVisible = displayIndex < lastRecord(store);
    view.current = QString::number(displayIndex);
    return view;
}

namespace {

std::optional<NavigationView> stepBy(MeasurementStore &store, int delta)
{
    if (!store.holdsData())
        return std::nullopt;
    const int index = qBound(1, store.displayIndex() + delta, lastRecord(store));
    store.setDisplayIndex(index);
    return navigationAt(store, index);
}

} // namespace

std::optional<NavigationView> stepNext(MeasurementStore &store) { return stepBy(store, +1); }
std::optional<NavigationView> stepPrevious(MeasurementStore &store) { return stepBy(store, -1); }

NavigationView recordsReplaced(MeasurementStore &store, int held)
{
    store.setDisplayIndex(1);
    NavigationView view = navigationAt(store, 1);
    // A single-record file keeps the record_count of what was held before; only its one
    // record can be shown.
    view.nextVisible = 1 < qMin(held, lastRecord(store));
    view.received = QString::number(held);
    view.total = QString::number(held);
    return view;
}

NavigationView loadSampleSet(MeasurementStore &store)
{
    store.setSlot(0, sampleIdentificationLine());
    for (int slot = 1; slot <= MeasurementStore::kRecordSlots; ++slot)
        store.setSlot(slot, sampleRecord(slot));
    store.setRecordCount(MeasurementStore::kRecordSlots);
    store.setFromSampleSet(true);
    return recordsReplaced(store, MeasurementStore::kRecordSlots);
}

QByteArray identificationText(const QByteArray &slot0)
{
    qsizetype end = slot0.size();
    while (end > 0) {
        const char c = slot0.at(end - 1);
        if (c != '\0' && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            break;
        --end;
    }
    return slot0.left(end);
}

} // namespace kelpra
