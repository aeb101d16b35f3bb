#pragma once

#include <QString>

#include <functional>

class QIODevice;
class QPainter;

namespace kelpra {

class ProtocolPage;

// Writes the printed protocol as a one-page A4 PDF to the device, drawn by the same painter
// as the preview and the printer. Its title names the protocol, the vessel and the
// measurement date; its creator is the program with its version. False when the page
// could not be laid out; write errors are the device's to tell.
bool writeProtocolPdf(const ProtocolPage &page, QIODevice *device);

// An A4 PDF drawn by `paint`, on sheets without margins at 1200 dots per inch, with its title
// and the program as creator: the one set-up of every PDF the program writes. False when the
// painter could not start or finish.
bool writeA4Pdf(QIODevice *device, const QString &title, const std::function<void(QPainter &)> &paint);

// The PDF's title: "PROTOCOL OF GMDSS RADIO SET TESTING", then the vessel and the date
// when the page holds them.
QString protocolPdfTitle(const ProtocolPage &page);
// The PDF's creator, "Kelpra 2.5.0".
QString protocolPdfCreator();

} // namespace kelpra
