#pragma once

#include <QString>

class QIODevice;

namespace kelpra {

class ProtocolPage;

// Writes the printed protocol as a one-page A4 PDF to the device, drawn by the same painter
// as the preview and the printer. Its title names the protocol, the vessel and the
// measurement date; its creator is the program with its version. False when the page
// could not be laid out; write errors are the device's to tell.
bool writeProtocolPdf(const ProtocolPage &page, QIODevice *device);

// The PDF's title: "PROTOCOL OF GMDSS RADIO SET TESTING", then the vessel and the date
// when the page holds them.
QString protocolPdfTitle(const ProtocolPage &page);
// The PDF's creator, "Kelpra 2.5.0".
QString protocolPdfCreator();

} // namespace kelpra
