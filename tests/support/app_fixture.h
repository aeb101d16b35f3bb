#pragma once

#include "ui/application.h"

#include "support/scripted_prompts.h"
#include "support/session_access.h"

#include <QTest>

#include <memory>

namespace kelpra::test {

// The whole program as the tests drive it: the session, its windows created in start-up
// order, and prompts answered from a queue.
struct AppFixture {
    ScriptedPrompts prompts;
    std::unique_ptr<KelpraApplication> app;

    AppFixture() : app(std::make_unique<KelpraApplication>(prompts)) {}

    Session &session() { return app->session; }
    MeasurementStore &store() { return SessionAccess::store(app->session); }
    MainWindow &mainWindow() { return app->mainWindow; }
    DownloadWindow &downloadWindow() { return app->downloadWindow; }
    ArchiveWindow &archiveWindow() { return app->archiveWindow; }

    // Waits until every archive job has come back to the windows (archiving runs on a
    // thread of its own); the time limit only keeps a broken build from hanging.
    bool archiveSettled()
    {
        return QTest::qWaitFor([this] { return app->archiveWorker.idle(); }, 60000);
    }
};

} // namespace kelpra::test
