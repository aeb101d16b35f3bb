#include "ui/application.h"

namespace kelpra {

KelpraApplication::KelpraApplication(Prompts &prompts)
    : mainWindow(store, prompts), downloadWindow(mainWindow, store, prompts), aboutBox()
{
    mainWindow.setDownloadWindow(&downloadWindow);
    mainWindow.setAboutBox(&aboutBox);
}

} // namespace kelpra
