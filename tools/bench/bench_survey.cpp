// kelpra-bench-survey: times the survey report of the built-in sample set, 17 A4 pages
// (the survey table, then the protocol page of each of the 16 records), from the session
// to a PDF file written through the atomic writer, as "Export survey report as PDF…" and
// `kelpra-tool survey --pdf` write it. Prints each run and the median.
//
// usage: kelpra-bench-survey [--runs N] [--output FILE]

#include "data/fields.h"
#include "files/file_io.h"
#include "page/survey_report.h"
#include "session/session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

using namespace kelpra;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int runs = 11;
    QString output = QDir::temp().filePath(QStringLiteral("kelpra-bench-survey.pdf"));
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--output"))
            output = args[i + 1];
    }

    Session session;
    session.loadSampleSet();
    for (const auto &[field, text] : {std::pair{Field::VesselName, "Baltic Star"}, {Field::VesselOwner, "Baltic Lines"},
                                      {Field::RadioModel, "Sailor 6222 VHF DSC"}, {Field::Engineer, "I. Petrov"}})
        session.setText(field, text);

    // The first run also loads the fonts: it is reported, not counted.
    QList<double> times;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const SurveyReport report = buildSurveyReport(session);
        if (const auto error = writeFileThrough(
                output, [&report](QIODevice *device) { return writeSurveyReportPdf(report, device); },
                QStringLiteral("the report could not be laid out"))) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(output), qPrintable(*error));
            return 2;
        }
        const double ms = clock.nsecsElapsed() / 1e6;
        std::printf("run %2d%s: %8.1f ms, %d pages\n", run, run == 0 ? " (warm-up)" : "", ms,
                    static_cast<int>(report.recordPages.size()) + 1);
        if (run > 0)
            times.append(ms);
    }
    std::sort(times.begin(), times.end());
    const qsizetype n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("median of %d runs: %.1f ms for %s (%lld bytes)\n", runs, median, qPrintable(output),
                static_cast<long long>(QFileInfo(output).size()));
    return 0;
}
