#include "support/session_access.h"

#include "data/navigation.h"
#include "session/session.h"

namespace kelpra::test {

MeasurementStore &SessionAccess::store(Session &session)
{
    return session.store_;
}

void SessionAccess::hold(Session &session, const QList<QByteArray> &slots, int recordCount)
{
    for (int k = 0; k < MeasurementStore::kSlotCount; ++k)
        session.store_.setSlot(k, slots.value(k));
    session.store_.setRecordCount(recordCount);
    session.applyNavigation(recordsReplaced(session.store_, recordCount));
    session.replaced(RecordOrigin{RecordOrigin::Kind::Download, {}, {}, {}, recordCount});
    Q_EMIT session.changed();
}

void SessionAccess::decode(Session &session, int slot)
{
    session.showRecord(slot);
    Q_EMIT session.changed();
}

} // namespace kelpra::test
