#include "ui/application.h"

namespace kelpra {

KelpraApplication::KelpraApplication(Prompts &prompts)
    : mainWindow(session, prompts), downloadWindow(session, prompts), aboutBox()
{
    mainWindow.setDownloadWindow(&downloadWindow);
    mainWindow.setAboutBox(&aboutBox);
}

} // namespace kelpra
