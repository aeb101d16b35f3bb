#include "ui/port_picker.h"

#include "support/scripted_prompts.h"
#include "support/test_helpers.h"
#include "support/testset_process.h"
#include "ui/qt_prompts.h"
#include "link/serial_port.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace kelpra;
using kelpra::test::control;

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
    QTemporaryDir settingsDir_;

    void forgetPort()
    {
        QSettings(QStringLiteral("kelpra"), QStringLiteral("kelpra")).clear();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The remembered port goes to a settings folder of this test's own.
        QVERIFY(settingsDir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    }
    void init() { forgetPort(); }

    void rowsNameTheDevice()
    {
        // A pseudo-terminal of the virtual test set as port 5: its row shows its path, and
        // choosing that row opens that device.
        kelpra::test::TestSetProcess testset({});
        QVERIFY2(testset.path.startsWith("/dev/"), qPrintable(testset.path));
        SerialPort port;
        port.setPortMap(PortMap::overridesOnly({{5, testset.path}, {6, "/dev/kelpra-no-such-device"}}));
        const QStringList rows = port.findPorts();
        QCOMPARE(rows, QStringList{QStringLiteral("COM5 \u2014 ") + testset.path});

        PortPicker form(rows);
        QCOMPARE(control<QComboBox>(form, "PortsComboBox")->itemText(0), rows.first());

        port.setPortNumber(*portNumberOfRow(rows.first()));
        QCOMPARE(port.open(), std::nullopt);
        QVERIFY(port.isOpen());
        QCOMPARE(port.portNumber(), 5);
        port.close();
    }

    void rememberedPortPreselected()
    {
        const QString dash = QStringLiteral(" \u2014 ");
        const QStringList rows{"COM1" + dash + "/dev/ttyUSB0", "COM3" + dash + "/dev/ttyUSB2" + dash + "CP2102",
                               "COM25" + dash + "/dev/ttyS0"};
        QVERIFY(!PortPicker::rememberedPort());
        whenShown([](PortPicker *form) {
            QCOMPARE(control<QComboBox>(*form, "PortsComboBox")->currentIndex(), 0);   // nothing remembered yet
            control<QComboBox>(*form, "PortsComboBox")->setCurrentIndex(1);
            control<QPushButton>(*form, "OkBtn")->click();
        });
        QCOMPARE(PortPicker::ask(rows).value_or("<none>"), rows[1]);

        // As after a restart: the choice is read back from the settings file.
        QSettings stored(QStringLiteral("kelpra"), QStringLiteral("kelpra"));
        QVERIFY2(QFileInfo(stored.fileName()).absoluteFilePath().startsWith(settingsDir_.path()),
                 qPrintable(stored.fileName()));
        QCOMPARE(stored.value("serial/port").toInt(), 3);
        PortPicker again(QStringList{rows[0], rows[2], rows[1]});
        QCOMPARE(control<QComboBox>(again, "PortsComboBox")->currentText(), rows[1]);

        // Cancel leaves the remembered port alone; a port that is gone selects the first row.
        whenShown([](PortPicker *form) { control<QPushButton>(*form, "AbortBtn")->click(); });
        QVERIFY(!PortPicker::ask(QStringList{rows[0], rows[1]}));
        QCOMPARE(PortPicker::rememberedPort().value_or(0), 3);
        PortPicker without(QStringList{rows[0], rows[2]});
        QCOMPARE(control<QComboBox>(without, "PortsComboBox")->currentIndex(), 0);
    }

    void explanationFitsTheOccasion_data()
    {
        QTest::addColumn<int>("remembered");   // 0: none
        QTest::addColumn<QString>("reason");     // the caller's; empty for a first choice
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        const QString invalid = "The configured serial port is not valid.";
        const QString another = "Please choose another port.";
        QTest::newRow("first use") << 0 << "" << "No serial port has been chosen yet."
                                   << "Please choose the port of the test set.";
        QTest::newRow("first this run, remembered port present")
            << 3 << "" << "The port used last time is selected." << "Press OK to use it, or choose another port.";
        QTest::newRow("first this run, remembered port gone") << 7 << "" << invalid << another;
        QTest::newRow("the caller's reason") << 3 << "The download failed: x." << "The download failed: x."
                                             << "Choose the port again, or another one.";
    }
    void explanationFitsTheOccasion()
    {
        QFETCH(int, remembered);
        QFETCH(QString, reason);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        if (remembered)
            PortPicker::rememberPort(remembered);
        PortPicker form({"COM1", "COM3"}, nullptr,
                        PortQuestion{reason, reason.isEmpty() ? QString() : line2});
        QCOMPARE(control<QLabel>(form, "Label1")->text(), line1);
        QCOMPARE(control<QLabel>(form, "Label2")->text(), line2);
    }

    void windowAndControls()
    {
        PortPicker form({"COM1", "COM25"}, nullptr,
                        PortQuestion{QStringLiteral("The configured serial port is not valid."),
                                     QStringLiteral("Please choose another port.")});
        QCOMPARE(form.windowTitle(), QStringLiteral("Select Port"));
        QCOMPARE(control<QLabel>(form, "Label1")->text(), QStringLiteral("The configured serial port is not valid."));
        QCOMPARE(control<QLabel>(form, "Label2")->text(), QStringLiteral("Please choose another port."));
        QVERIFY(control<QFrame>(form, "Bevel1")->isAncestorOf(control<QLabel>(form, "Label1")) && control<QFrame>(form, "Bevel1")->isAncestorOf(control<QLabel>(form, "Label2")));
        QVERIFY(!control<QComboBox>(form, "PortsComboBox")->isEditable());
        QCOMPARE(control<QComboBox>(form, "PortsComboBox")->count(), 2);
        QCOMPARE(control<QComboBox>(form, "PortsComboBox")->currentText(), QStringLiteral("COM1"));
        QCOMPARE(control<QPushButton>(form, "OkBtn")->text(), QStringLiteral("OK"));
        QVERIFY(control<QPushButton>(form, "OkBtn")->isDefault());
        QCOMPARE(control<QPushButton>(form, "AbortBtn")->text(), QStringLiteral("Cancel"));
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
                control<QComboBox>(*form, "PortsComboBox")->setCurrentIndex(pick);
            if (button == "ok")
                control<QPushButton>(*form, "OkBtn")->click();
            else if (button == "cancel")
                control<QPushButton>(*form, "AbortBtn")->click();
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
