#include "measurement_store.h"

namespace kelpra {

QByteArray MeasurementStore::slot(int index) const
{
    if (index < 0 || index >= kSlotCount)
        return {};
    return slots_[static_cast<size_t>(index)];
}

void MeasurementStore::setSlot(int index, const QByteArray &bytes)
{
    if (index < 0 || index >= kSlotCount)
        return;
    fromSampleSet_ = false;
    // QByteArray(const QByteArray&) is implicitly shared; detach so that the store
    // owns its copy and a writer's later changes never reach it.
    QByteArray copy(bytes.constData(), bytes.size());
    slots_[static_cast<size_t>(index)] = copy;
}

} // namespace kelpra
