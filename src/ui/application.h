#pragma once

#include "session/session.h"
#include "ui/about_box.h"
#include "ui/archive_window.h"
#include "ui/archive_worker.h"
#include "ui/download_window.h"
#include "ui/main_window.h"
#include "ui/survey_archiver.h"

namespace kelpra {

class Prompts;

// The running program: the session and its windows, created in this order: the main window
// (whose creation restores the controller lines), the download window, the about box, the
// archive window. Only the main window is shown. Before the windows come the archive worker
// and the archiving of every survey taken in; the worker goes last, once every survey
// handed to it is archived or queued.
class KelpraApplication {
public:
    explicit KelpraApplication(Prompts &prompts);

    Session session;
    ArchiveWorker archiveWorker;
    SurveyArchiver archiver;
    MainWindow mainWindow;
    DownloadWindow downloadWindow;
    AboutBox aboutBox;
    ArchiveWindow archiveWindow;
};

} // namespace kelpra
