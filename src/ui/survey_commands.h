#pragma once

namespace kelpra {

class Prompts;
class Session;

// "Print survey report…", "Export survey report as PDF…" and "Export survey table as
// CSV…": the whole survey the session holds, whatever record is on display.
class SurveyCommands {
public:
    SurveyCommands(Session &session, Prompts &prompts) : session_(session), prompts_(prompts) {}

    void printSurveyReport();
    void exportSurveyPdf();
    void exportSurveyCsv();

private:
    // Says so and gives false while no records are held.
    bool holdsSurvey();

    Session &session_;
    Prompts &prompts_;
};

} // namespace kelpra
