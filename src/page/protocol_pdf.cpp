#include "page/protocol_pdf.h"

#include "page/protocol_page.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace kelpra {

QString protocolPdfTitle(const ProtocolPage &page)
{
    QString title = QStringLiteral("PROTOCOL OF GMDSS RADIO SET TESTING");
    QStringList about;
    for (const char *name : {"QRLabel48", "QRLabel33"}) {   // vessel name, measurement date
        const QString text = page.text(name).trimmed();
        if (!text.isEmpty())
            about.append(text);
    }
    if (!about.isEmpty())
        title += QStringLiteral(" \u2014 ") + about.join(QStringLiteral(", "));
    return title;
}

QString protocolPdfCreator()
{
    return QStringLiteral("Kelpra " KELPRA_VERSION);
}

bool writeA4Pdf(QIODevice *device, const QString &title, const std::function<void(QPainter &)> &paint)
{
    QPdfWriter writer(device);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
    writer.setResolution(1200);
    writer.setTitle(title);
    writer.setCreator(protocolPdfCreator());
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paint(painter);
    return painter.end();
}

bool writeProtocolPdf(const ProtocolPage &page, QIODevice *device)
{
    return writeA4Pdf(device, protocolPdfTitle(page), [&page](QPainter &painter) { renderProtocolPage(painter, page); });
}

} // namespace kelpra
