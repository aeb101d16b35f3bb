#pragma once

#include "page/protocol_page.h"

namespace kelpra {

class Prompts;
class Session;

// "Save report", "Print report" and "Export protocol as PDF…": the protocol of the record
// on display, from exactly the texts the window shows.
class ReportCommands {
public:
    ReportCommands(Session &session, Prompts &prompts) : session_(session), prompts_(prompts) {}

    void saveReport();
    void printReport();
    void exportProtocolPdf();

    // The page "Print report" filled last.
    const ProtocolPage &protocolPage() const { return page_; }

private:
    ProtocolPage filledPage() const;
    void showError(const QString &errorText);

    Session &session_;
    Prompts &prompts_;
    ProtocolPage page_;
};

} // namespace kelpra
