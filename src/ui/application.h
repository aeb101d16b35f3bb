#pragma once

#include "session/session.h"
#include "ui/about_box.h"
#include "ui/download_window.h"
#include "ui/main_window.h"

namespace kelpra {

class Prompts;

// The running program: the session and its windows, created in this order: the main window
// (whose creation restores the controller lines), the download window, the about box.
// Only the main window is shown.
class KelpraApplication {
public:
    explicit KelpraApplication(Prompts &prompts);

    Session session;
    MainWindow mainWindow;
    DownloadWindow downloadWindow;
    AboutBox aboutBox;
};

} // namespace kelpra
