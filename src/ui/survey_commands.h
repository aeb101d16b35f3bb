#pragma once

#include <QString>

#include <functional>
#include <optional>

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
    // Asks where, writes the survey there through write (an error or nothing) and notes
    // noted with the file's name; a failure is said and noted nowhere.
    void exportSurvey(const QString &suffix, const QString &noted,
                      const std::function<std::optional<QString>(const QString &path)> &write);

    Session &session_;
    Prompts &prompts_;
};

} // namespace kelpra
