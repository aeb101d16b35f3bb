#include "ui/application.h"

namespace kelpra {

KelpraApplication::KelpraApplication(Prompts &prompts)
    : archiver(session, archiveWorker), mainWindow(session, prompts), downloadWindow(session, prompts), aboutBox(),
      archiveWindow(session, prompts, archiveWorker)
{
    mainWindow.setDownloadWindow(&downloadWindow);
    mainWindow.setAboutBox(&aboutBox);
    mainWindow.setArchiveWindow(&archiveWindow);
    mainWindow.setSurveyArchiver(&archiver);
    QObject::connect(&archiveWindow, &ArchiveWindow::surveyOpened, &mainWindow, [this] { bringToFront(&mainWindow); });
    // A survey archived while the list is open belongs in it.
    QObject::connect(&archiver, &SurveyArchiver::archived, &archiveWindow, [this] {
        if (archiveWindow.isVisible())
            archiveWindow.search();
    });
    // Surveys that earlier runs could not archive.
    archiver.retryQueue();
}

} // namespace kelpra
