#pragma once

#include <QByteArray>
#include <QString>

namespace kelpra {

class ProtocolPage;

// The printed protocol as a one-page A4 PDF, drawn by the same painter as the preview and
// the printer. Its title names the protocol, the vessel and the measurement date; its
// creator is the program with its version. An empty result with *error set on failure.
QByteArray protocolPdf(const ProtocolPage &page, QString *error);

// The PDF's title: "PROTOCOL OF GMDSS RADIO SET TESTING", then the vessel and the date
// when the page holds them.
QString protocolPdfTitle(const ProtocolPage &page);
// The PDF's creator, "Kelpra 2.5.0".
QString protocolPdfCreator();

} // namespace kelpra
