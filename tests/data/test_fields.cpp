// The field table: every control name maps back to its field, and the row tables hold
// each decoded field exactly once.
#include "data/fields.h"

#include <QSet>

#include <algorithm>
#include <QtTest>

using namespace kelpra;

class TestFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesRoundTrip()
    {
        QSet<QString> names;
        for (Field field : allFields()) {
            const QString name = fieldKey(field);
            QVERIFY2(!name.isEmpty(), qPrintable(QString::number(static_cast<int>(field))));
            QCOMPARE(fieldByName(name), std::optional<Field>(field));
            names.insert(name);
        }
        QCOMPARE(names.size(), kFieldCount);
        QCOMPARE(fieldByName(u"FSDigit"), std::nullopt);   // names are case-sensitive
        QCOMPARE(fieldByName(u""), std::nullopt);
        // A few names as other programs and files know them.
        QCOMPARE(fieldKey(Field::DistressErrorCheckVerdict), QStringLiteral("ECCCDheck"));
        QCOMPARE(fieldKey(Field::SelfIdMeaning), QStringLiteral("SelfMMSI"));
        QCOMPARE(fieldKey(Field::CurrentRecord), QStringLiteral("current"));
    }

    // No field serves in two rows, and the two panels share none.
    void rowsHoldEachFieldOnce()
    {
        QList<Field> all = callDisplayFields() + distressDisplayFields();
        const qsizetype count = all.size();
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        QCOMPARE(all.size(), count);
        QCOMPARE(callDisplayFields().size(), 23);
        QCOMPARE(distressDisplayFields().size(), 15);
        QVERIFY(!callDisplayFields().contains(Field::ErrorCheckVerdict));
        QVERIFY(!distressDisplayFields().contains(Field::DistressErrorCheckVerdict));
    }
};

QTEST_GUILESS_MAIN(TestFields)
#include "test_fields.moc"
