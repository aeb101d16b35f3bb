#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kelpra::test {

// The virtual test set in a process of its own: started with the given options, its
// pseudo-terminal's path read from its first line of output, ended with the test.
class TestSetProcess {
public:
    explicit TestSetProcess(const QStringList &args)
    {
        process.setProgram(qEnvironmentVariable("KELPRA_BIN_DIR") + "/kelpra-testset");
        process.setArguments(args + QStringList{"--max-seconds", "60"});
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        if (process.waitForStarted(5000)) {
            QElapsedTimer t;
            t.start();
            while (!process.canReadLine() && t.elapsed() < 5000)
                process.waitForReadyRead(100);
            path = QString::fromLocal8Bit(process.readLine()).trimmed();
        }
    }
    ~TestSetProcess()
    {
        process.terminate();
        if (!process.waitForFinished(3000))
            process.kill();
    }
    TestSetProcess(const TestSetProcess &) = delete;
    TestSetProcess &operator=(const TestSetProcess &) = delete;

    QProcess process;
    QString path; // empty when the test set did not start
};

} // namespace kelpra::test
