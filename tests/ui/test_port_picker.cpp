#include "ui/port_picker.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kelpra;

namespace {

// Acts on the picker once it is up, from inside its own event loop.
void whenShown(const std::function<void(PortPicker *)> &act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *form = qobject_cast<PortPicker *>(w); form && form->isVisible()) {
                act(form);
                return;
            }
        }
        whenShown(act); // not shown yet
    });
}

} // namespace

class TestPortPicker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowAndControls()
    {
        PortPicker form({"COM1", "COM25"});
        QCOMPARE(form.windowTitle(), QStringLiteral("Select Port"));
        QCOMPARE(form.Label1->text(), QStringLiteral("The configured serial port is not valid."));
        QCOMPARE(form.Label2->text(), QStringLiteral("Please choose another port."));
        QVERIFY(form.Bevel1->isAncestorOf(form.Label1) && form.Bevel1->isAncestorOf(form.Label2));
        QVERIFY(!form.PortsComboBox->isEditable());
        QCOMPARE(form.PortsComboBox->count(), 2);
        QCOMPARE(form.PortsComboBox->currentText(), QStringLiteral("COM1"));
        QCOMPARE(form.OkBtn->text(), QStringLiteral("OK"));
        QVERIFY(form.OkBtn->isDefault());
        QCOMPARE(form.AbortBtn->text(), QStringLiteral("Cancel"));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));

        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const QPoint centre = form.screen()->availableGeometry().center();
        QVERIFY((form.frameGeometry().center() - centre).manhattanLength() <= 2);
    }

    void answers_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("pick");        // index chosen before the button
        QTest::addColumn<QString>("button");  // "ok", "cancel", "close", "enter"
        QTest::addColumn<QString>("answer");  // "<none>" for no answer
        QTest::newRow("OK on the first") << QStringList{"COM1", "COM3"} << -1 << "ok" << "COM1";
        QTest::newRow("OK on another") << QStringList{"COM1", "COM3", "COM25"} << 2 << "ok" << "COM25";
        QTest::newRow("Enter is OK") << QStringList{"COM3"} << -1 << "enter" << "COM3";
        QTest::newRow("Cancel") << QStringList{"COM1"} << -1 << "cancel" << "<none>";
        QTest::newRow("close box") << QStringList{"COM1"} << -1 << "close" << "<none>";
        QTest::newRow("OK on an empty list") << QStringList{} << -1 << "ok" << "";
    }
    void answers()
    {
        QFETCH(QStringList, items);
        QFETCH(int, pick);
        QFETCH(QString, button);
        QFETCH(QString, answer);
        whenShown([=](PortPicker *form) {
            if (pick >= 0)
                form->PortsComboBox->setCurrentIndex(pick);
            if (button == "ok")
                form->OkBtn->click();
            else if (button == "cancel")
                form->AbortBtn->click();
            else if (button == "enter")
                QTest::keyClick(form, Qt::Key_Return);
            else
                form->close();
        });
        const std::optional<QString> got = PortPicker::ask(items);
        QCOMPARE(got.value_or("<none>"), answer);
    }
};

QTEST_MAIN(TestPortPicker)
#include "test_port_picker.moc"
