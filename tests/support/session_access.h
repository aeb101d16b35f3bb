#pragma once

#include <QByteArray>
#include <QList>

namespace kelpra {
class MeasurementStore;
class Session;
}

namespace kelpra::test {

// What tests do to a session that no command of the program does: records put into its
// store by hand, as a fill would put them.
struct SessionAccess {
    static MeasurementStore &store(Session &session);
    // Slots 0..16 as given, record 1 on display with the counters and arrows of a fill,
    // nothing decoded yet.
    static void hold(Session &session, const QList<QByteArray> &slots, int recordCount);
    // Decodes one slot onto the display as the record commands do, without moving.
    static void decode(Session &session, int slot);
};

} // namespace kelpra::test
