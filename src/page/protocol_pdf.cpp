#include "page/protocol_pdf.h"

#include "page/protocol_page.h"

#include <QBuffer>
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

QByteArray protocolPdf(const ProtocolPage &page, QString *error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Millimeter));
        writer.setResolution(1200);
        writer.setTitle(protocolPdfTitle(page));
        writer.setCreator(protocolPdfCreator());
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("The PDF could not be laid out");
            return {};
        }
        renderProtocolPage(painter, page);
        if (!painter.end()) {
            if (error)
                *error = QStringLiteral("The PDF could not be laid out");
            return {};
        }
    }
    return buffer.data();
}

} // namespace kelpra
