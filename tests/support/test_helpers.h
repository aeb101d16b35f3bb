#pragma once

// Small helpers most tests share: the prompts check, a control by its name, reading a file
// whole and a working directory of a test's own.
#include <QByteArray>
#include <QDir>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Fails the test when a prompt came that was not expected, or an expected one never came.
#define KELPRA_VERIFY_PROMPTS(prompts) QVERIFY2((prompts).ok(), qPrintable((prompts).problems()))

namespace kelpra::test {

// The child control of that objectName. A missing control is a broken test, not a result:
// it stops the test program with the name.
template <typename T = QObject>
T *control(const QObject &owner, const char *name)
{
    T *found = owner.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s of type %s", name, T::staticMetaObject.className());
    return found;
}

// The whole file; empty when it cannot be read.
QByteArray readFile(const QString &path);

// That name in the current directory, as an absolute path.
inline QString here(const QString &name)
{
    return QDir::current().absoluteFilePath(name);
}

// A fresh directory inside the current one made the current directory; the previous one
// comes back, and the new one goes, at the end of the scope.
class WorkingDirectory {
public:
    WorkingDirectory();
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory &) = delete;
    WorkingDirectory &operator=(const WorkingDirectory &) = delete;

    bool isValid() const { return entered_; }
    QString path() const { return dir_.path(); }
    // A path inside the directory.
    QString filePath(const QString &name) const { return dir_.filePath(name); }

private:
    QString previous_;
    QTemporaryDir dir_;
    bool entered_ = false;
};

} // namespace kelpra::test
