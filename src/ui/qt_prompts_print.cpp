// The print preview of the running program.
#include "ui/qt_prompts.h"

#include <QEventLoop>
#include <QPageLayout>
#include <QPageSize>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QToolBar>
#include <QWidget>
#include <QPrinter>

namespace kelpra {

void QtPrompts::printPreview(const std::function<void(QPrinter *)> &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPaperSource(QPrinter::Auto);

    QPrintPreviewDialog dialog(&printer, parent_);
    dialog.setWindowTitle(applicationTitle());
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter *target) { paint(target); });

    // Large enough to read the page: most of the screen's height, a page's width (with the
    // preview's tool bar) across, the page fitted to that width.
    const QScreen *screen = parent_ && parent_->screen() ? parent_->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        const int height = room.height() * 9 / 10;
        const int width = qMin(room.width(), height * 210 / 297 + 160);
        dialog.resize(width, height);
        dialog.move(room.center() - QPoint(width / 2, height / 2));
    }
    if (auto *view = dialog.findChild<QPrintPreviewWidget *>())
        view->fitToWidth();
    // The preview's tool bar is wider than a small screen's preview, and Print comes last:
    // put it first, so that it is never behind the "»" overflow.
    if (auto *bar = dialog.findChild<QToolBar *>()) {
        const QList<QAction *> actions = bar->actions();
        for (QAction *action : actions) {
            if (QString(action->text()).remove(QLatin1Char('&')) == QLatin1String("Print") && action != actions.first()) {
                bar->removeAction(action);
                bar->insertAction(actions.first(), action);
                bar->insertSeparator(actions.first());
                break;
            }
        }
    }

    // Not modal: the main window stays usable while the preview is open; the caller
    // still waits here until it is closed.
    dialog.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    if (auto *view = dialog.findChild<QPrintPreviewWidget *>())
        view->fitToWidth();   // the dialog sets its own zoom when first shown
    loop.exec();
}

} // namespace kelpra
