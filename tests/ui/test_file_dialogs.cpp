// The real file dialogs of QtPrompts, driven as a user would: a save dialog asks before
// replacing a file, an open dialog takes a name that exists as typed and completes one
// typed without ".bin" only when that is what exists.
#include "ui/qt_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace kelpra;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write("x"), qint64(1));
}

// Runs `act` on the next modal widget of type T to come up (other than `after`), from the
// event loop of whatever dialog is then running.
template <typename T>
void whenShown(std::function<void(T *)> act, QWidget *after = nullptr)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, after] {
        auto *widget = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!widget || widget == after || !widget->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(widget);
    });
    timer->start(10);
}

// What the dialog's Save or Open button does.
void choose(QFileDialog *dialog)
{
    static_cast<QDialog *>(dialog)->accept();
}

} // namespace

class TestFileDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();

    void setUpAsked();
    void openedFileName_data();
    void openedFileName();
    void saveAsksBeforeReplacing();
    void openTakesTheNameAsTyped();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString &name) const { return QDir(dir_->path()).filePath(name); }
};

void TestFileDialogs::initTestCase()
{
    // The dialog Qt draws itself, the one a test can drive on any platform.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestFileDialogs::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestFileDialogs::setUpAsked()
{
    QFileDialog save;
    setUpFileDialog(save, FileDialogSetup{QStringLiteral("*.bin"), QStringLiteral("bin"), QStringLiteral("data")}, true);
    QCOMPARE(save.acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!save.testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(save.defaultSuffix(), QStringLiteral("bin"));
    QCOMPARE(save.nameFilters(), QStringList{QStringLiteral("*.bin")});

    QFileDialog open;
    setUpFileDialog(open, FileDialogSetup{QString(), QStringLiteral("bin"), QString()}, false);
    QCOMPARE(open.acceptMode(), QFileDialog::AcceptOpen);
    // Qt would add it even to a name that exists as typed.
    QCOMPARE(open.defaultSuffix(), QString());
}

void TestFileDialogs::openedFileName_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::newRow("exists as typed, no suffix") << QStringList{"alldata", "alldata.bin"} << "alldata" << "alldata";
    QTest::newRow("only with .bin") << QStringList{"alldata.bin"} << "alldata" << "alldata.bin";
    QTest::newRow("neither") << QStringList{} << "alldata" << "alldata";
    QTest::newRow("other suffix typed") << QStringList{"set.txt.bin"} << "set.txt" << "set.txt";
    QTest::newRow("full name typed") << QStringList{"set.bin"} << "set.bin" << "set.bin";
}

void TestFileDialogs::openedFileName()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    for (const QString &name : existing)
        touch(path(name));
    QCOMPARE(kelpra::openedFileName(path(typed), QStringLiteral("bin")), path(opened));
    QCOMPARE(kelpra::openedFileName(path(typed), QString()), path(typed));
}

void TestFileDialogs::saveAsksBeforeReplacing()
{
    touch(path(QStringLiteral("data.bin")));
    QtPrompts prompts;
    const FileDialogSetup setup{QStringLiteral("*.bin"), QStringLiteral("bin"), path(QStringLiteral("data"))};

    // "No" to replacing keeps the dialog open; the user then cancels.
    int asked = 0;
    QString question;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        whenShown<QMessageBox>([&, dialog](QMessageBox *box) {
            ++asked;
            question = box->text();
            box->button(QMessageBox::No)->click();
            QTimer::singleShot(0, dialog, [dialog] {
                QVERIFY(dialog->isVisible());
                dialog->reject();
            });
        });
        choose(dialog);
    });
    QCOMPARE(prompts.saveFileName(setup), QString());
    QCOMPARE(asked, 1);
    QVERIFY2(question.contains(QStringLiteral("data.bin")), qPrintable(question));

    // "Yes" replaces it.
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        whenShown<QMessageBox>([&](QMessageBox *box) {
            ++asked;
            box->button(QMessageBox::Yes)->click();
        });
        choose(dialog);
    });
    QCOMPARE(prompts.saveFileName(setup), path(QStringLiteral("data.bin")));
    QCOMPARE(asked, 2);

    // A new name is not asked about.
    whenShown<QFileDialog>([](QFileDialog *dialog) { choose(dialog); });
    QCOMPARE(prompts.saveFileName(FileDialogSetup{QStringLiteral("*.bin"), QStringLiteral("bin"),
                                                  path(QStringLiteral("fresh"))}),
             path(QStringLiteral("fresh.bin")));
    QCOMPARE(asked, 2);
}

void TestFileDialogs::openTakesTheNameAsTyped()
{
    touch(path(QStringLiteral("alldata")));
    touch(path(QStringLiteral("alldata.bin")));
    touch(path(QStringLiteral("other.bin")));
    QtPrompts prompts;
    auto openAs = [&](const QString &name) {
        whenShown<QFileDialog>([](QFileDialog *dialog) { choose(dialog); });
        return prompts.openFileName(FileDialogSetup{QString(), QStringLiteral("bin"), path(name)});
    };
    QCOMPARE(openAs(QStringLiteral("alldata")), path(QStringLiteral("alldata")));
    QCOMPARE(openAs(QStringLiteral("other")), path(QStringLiteral("other.bin")));
    QCOMPARE(openAs(QStringLiteral("alldata.bin")), path(QStringLiteral("alldata.bin")));
}

QTEST_MAIN(TestFileDialogs)
#include "test_file_dialogs.moc"
