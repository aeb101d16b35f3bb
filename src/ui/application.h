#pragma once

#include "ui/main_window.h"
#include "ui/about_box.h"
#include "data/measurement_store.h"
#include "ui/download_window.h"

namespace kelpra {

class Prompts;

// The running program: the store and its windows, created in this order: the main window
// (whose creation restores the controller lines), the download window, the about box.
// Only the main window is shown.
class KelpraApplication {
public:
    explicit KelpraApplication(Prompts &prompts);

    MeasurementStore store;
    MainWindow mainWindow;
    DownloadWindow downloadWindow;
    AboutBox aboutBox;
};

} // namespace kelpra
