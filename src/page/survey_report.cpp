#include "page/survey_report.h"

#include "data/navigation.h"
#include "data/text8.h"
#include "page/page_text.h"
#include "page/protocol_pdf.h"
#include "session/session.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>

#include <algorithm>

namespace kelpra {

namespace {

const QString kTitle = QStringLiteral("SURVEY OF DSC CALLS");

// Page 1's text block and the table, in millimetres from the sheet's corner.
constexpr double kLeftMm = 12.0;
constexpr double kRightMm = 198.0;
constexpr double kTopMm = 15.0;
constexpr double kBottomMm = 282.0;
constexpr double kRightColumnMm = 110.0;   // radio station and controller beside the vessel
constexpr double kCellPaddingMm = 0.8;
constexpr double kFootnoteIndentMm = 6.0;

constexpr double kTitlePoints = 14.0;
constexpr double kHeadingPoints = 9.0;
constexpr double kLinePoints = 8.5;
constexpr double kTablePoints = 7.0;

const QColor kRuleColour(160, 160, 160);
const QColor kHeaderShade(232, 232, 232);

// The table's columns on paper: the window's, with the calling station's country under its
// MMSI and the verdict followed by the numbers of its footnotes.
struct PaperColumn {
    SurveyColumn column;
    double widthMm;
};

constexpr PaperColumn kPaperColumns[] = {
    {SurveyColumn::Record, 7},     {SurveyColumn::Date, 21},     {SurveyColumn::Frequency, 19},
    {SurveyColumn::Rssi, 9},       {SurveyColumn::Format, 24},   {SurveyColumn::Category, 15},
    {SurveyColumn::SelfMmsi, 22},  {SurveyColumn::Address, 24},  {SurveyColumn::FirstTelecommand, 24},
    {SurveyColumn::TesterEcc, 8},  {SurveyColumn::Verdict, 13},
};

// Text of one size and weight on the device, in device pixels.
class Ink {
public:
    Ink(double pointSize, bool bold, QPaintDevice *device)
        : font_(makeFont(pointSize, bold, device)), metrics_(font_, device), device_(device)
    {
        if (bold && !hasBoldFace(protocolFontFamily()))
            stroke_ = boldStrokeWidth(pointSize, device);
    }

    double lineHeight() const { return metrics_.height(); }
    double width(const QString &text) const { return metrics_.horizontalAdvance(text) + stroke_; }
    QString elided(const QString &text, double room) const
    {
        return width(text) <= room ? text : metrics_.elidedText(text, Qt::ElideRight, room - stroke_);
    }
    // The lines of a paragraph within `room`: broken between words, or inside a word that
    // alone is too wide.
    QStringList wrapped(const QString &text, double room) const
    {
        QStringList lines;
        QTextLayout layout(text, font_, device_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(room - stroke_);
            lines << text.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        return lines;
    }
    // One line with its top at `top`.
    void draw(QPainter &painter, const QPointF &top, const QString &text, const QColor &colour = Qt::black) const
    {
        drawPageText(painter, QPointF(top.x(), top.y() + metrics_.ascent()), text, font_, stroke_, colour);
    }

private:
    static QFont makeFont(double pointSize, bool bold, QPaintDevice *device)
    {
        const QString family = protocolFontFamily();
        return pageFont(family, pointSize, bold && hasBoldFace(family), device);
    }

    QFont font_;
    QFontMetricsF metrics_;
    QPaintDevice *device_;
    double stroke_ = 0;
};

// One paragraph of a table cell.
struct CellText {
    QString text;
    QColor colour = Qt::black;
    bool bold = false;
};

// Draws the pages one after another on a paged device.
class ReportPainter {
public:
    ReportPainter(QPainter &painter, const SurveyReport &report)
        : painter_(painter), report_(report), device_(painter.device()),
          paged_(dynamic_cast<QPagedPaintDevice *>(painter.device())), sheet_(sheetRect(device_)),
          pxPerMm_(device_->logicalDpiY() / 25.4), title_(kTitlePoints, true, device_),
          heading_(kHeadingPoints, true, device_), caption_(kLinePoints, true, device_),
          value_(kLinePoints, false, device_), table_(kTablePoints, false, device_),
          tableBold_(kTablePoints, true, device_), footnotes_(surveyFootnotes(report.rows))
    {
    }

    void run()
    {
        beginSheet(false);
        double y = drawHeading();
        y = drawTable(y + mm(4));
        drawFootnotes(y + mm(4));
        for (const ProtocolPage &page : report_.recordPages) {
            newSheet();
            renderProtocolPage(painter_, page);
        }
    }

private:
    double mm(double millimetres) const { return millimetres * pxPerMm_; }
    QPointF at(double xPx, double yPx) const { return sheet_.topLeft() + QPointF(xPx, yPx); }

    void newSheet()
    {
        if (paged_)
            paged_->newPage();
    }
    void beginSheet(bool next)
    {
        if (next)
            newSheet();
        if (report_.sampleMark) {
            painter_.save();
            painter_.setClipRect(sheet_);
            drawSampleMark(painter_, sheet_, protocolFontFamily());
            painter_.restore();
        }
    }

    // Captioned lines from `top` down, the values starting after the widest caption and
    // cut at `right`. Returns the y below them.
    double drawLines(double x, double top, double right, const QList<QPair<QString, QString>> &lines,
                     bool boldValues = false)
    {
        double captionWidth = 0;
        for (const auto &line : lines)
            captionWidth = std::max(captionWidth, caption_.width(line.first));
        const Ink &valueInk = boldValues ? caption_ : value_;
        const double valueX = x + captionWidth + mm(2);
        double y = top;
        for (const auto &line : lines) {
            caption_.draw(painter_, at(x, y), line.first);
            valueInk.draw(painter_, at(valueX, y), valueInk.elided(line.second, right - valueX));
            y += value_.lineHeight() * 1.15;
        }
        return y;
    }

    double drawHeading()
    {
        const double width = mm(kRightMm - kLeftMm);
        double y = mm(kTopMm);
        title_.draw(painter_, at(mm(kLeftMm) + (width - title_.width(kTitle)) / 2, y), kTitle);
        y += title_.lineHeight() + mm(5);

        const double left = mm(kLeftMm);
        const double right = mm(kRightColumnMm);
        heading_.draw(painter_, at(left, y), QStringLiteral("VESSEL DATA"));
        const double vesselEnd = drawLines(left, y + heading_.lineHeight() * 1.3, right - mm(4), report_.vessel);
        heading_.draw(painter_, at(right, y), QStringLiteral("RADIO STATION DATA"));
        double radioEnd = drawLines(right, y + heading_.lineHeight() * 1.3, mm(kRightMm), report_.radio);
        radioEnd += mm(2);
        heading_.draw(painter_, at(right, radioEnd), QStringLiteral("CONTROLLER"));
        const double controllerEnd =
            drawLines(right, radioEnd + heading_.lineHeight() * 1.3, mm(kRightMm), report_.controller);
        y = std::max(vesselEnd, controllerEnd) + mm(3);

        drawLines(left, y, right - mm(4), {{QStringLiteral("Radioengineer:"), report_.engineer}}, true);
        drawLines(right, y, mm(kRightMm), {{QStringLiteral("Date:"), report_.date}});
        y += value_.lineHeight() * 1.15;
        return drawLines(left, y, mm(kRightMm), {{QStringLiteral("Test set:"), report_.identification}});
    }

    // The cell of a row as paragraphs.
    QList<CellText> cell(const SurveyRow &row, SurveyColumn column) const
    {
        if (column == SurveyColumn::SelfMmsi && !row.empty)
            return {{row.selfMmsi}, {row.selfCountry}};
        if (column == SurveyColumn::Verdict && !row.empty) {
            QList<int> numbers;
            for (const CheckFinding &finding : row.check.findings)
                numbers << static_cast<int>(footnotes_.indexOf(finding.text)) + 1;
            std::sort(numbers.begin(), numbers.end());
            QStringList references;
            for (int number : numbers)
                references << QString::number(number);
            return {{verdictName(row.check.verdict), verdictColour(row.check.verdict), true},
                    {references.join(QStringLiteral(", "))}};
        }
        return {{surveyCell(row, column)}};
    }

    // The cells of one table row, wrapped; and the row's height.
    QList<QPair<QStringList, QList<CellText>>> layoutRow(const QList<QList<CellText>> &cells, double *height) const
    {
        QList<QPair<QStringList, QList<CellText>>> laid;
        int most = 1;
        for (int c = 0; c < cells.size(); ++c) {
            const double room = mm(kPaperColumns[c].widthMm - 2 * kCellPaddingMm);
            QStringList lines;
            QList<CellText> styles;
            for (const CellText &paragraph : cells.at(c)) {
                if (paragraph.text.isEmpty())
                    continue;
                const Ink &ink = paragraph.bold ? tableBold_ : table_;
                for (const QString &line : ink.wrapped(paragraph.text, room)) {
                    lines << line;
                    styles << paragraph;
                }
            }
            most = std::max(most, static_cast<int>(lines.size()));
            laid.append({lines, styles});
        }
        *height = most * table_.lineHeight() + mm(2 * kCellPaddingMm);
        return laid;
    }

    void drawRow(double y, double height, const QList<QPair<QStringList, QList<CellText>>> &laid, bool header)
    {
        const double left = mm(kLeftMm);
        const double width = mm(kRightMm - kLeftMm);
        if (header)
            painter_.fillRect(QRectF(at(left, y), QSizeF(width, height)), kHeaderShade);
        painter_.save();
        painter_.setPen(QPen(kRuleColour, mm(0.2)));
        double x = left;
        for (const PaperColumn &column : kPaperColumns) {
            painter_.drawLine(at(x, y), at(x, y + height));
            x += mm(column.widthMm);
        }
        painter_.drawLine(at(x, y), at(x, y + height));
        painter_.drawLine(at(left, y), at(left + width, y));
        painter_.drawLine(at(left, y + height), at(left + width, y + height));
        painter_.restore();

        x = left;
        for (int c = 0; c < laid.size(); ++c) {
            double lineTop = y + mm(kCellPaddingMm);
            for (int i = 0; i < laid[c].first.size(); ++i) {
                const CellText &style = laid[c].second.at(i);
                const Ink &ink = style.bold || header ? tableBold_ : table_;
                ink.draw(painter_, at(x + mm(kCellPaddingMm), lineTop), laid[c].first.at(i), style.colour);
                lineTop += table_.lineHeight();
            }
            x += mm(kPaperColumns[c].widthMm);
        }
    }

    double drawTableHeader(double y)
    {
        QList<QList<CellText>> titles;
        for (const PaperColumn &column : kPaperColumns)
            titles.append({{surveyColumnTitle(column.column), Qt::black, true}});
        double height = 0;
        const auto laid = layoutRow(titles, &height);
        drawRow(y, height, laid, true);
        return y + height;
    }

    // The rows from `top` on, continued on further sheets, each beginning with the titles.
    double drawTable(double top)
    {
        double y = drawTableHeader(top);
        for (const SurveyRow &row : report_.rows) {
            QList<QList<CellText>> cells;
            for (const PaperColumn &column : kPaperColumns)
                cells.append(cell(row, column.column));
            double height = 0;
            const auto laid = layoutRow(cells, &height);
            if (y + height > mm(kBottomMm)) {
                beginSheet(true);
                y = drawTableHeader(mm(kTopMm));
            }
            drawRow(y, height, laid, false);
            y += height;
        }
        return y;
    }

    void drawFootnotes(double top)
    {
        if (footnotes_.isEmpty())
            return;
        const double left = mm(kLeftMm);
        const double textLeft = left + mm(kFootnoteIndentMm);
        const double room = mm(kRightMm) - textLeft;
        double y = top;
        const QString heading = QStringLiteral("Findings:");
        if (y + heading_.lineHeight() + table_.lineHeight() > mm(kBottomMm)) {
            beginSheet(true);
            y = mm(kTopMm);
        }
        heading_.draw(painter_, at(left, y), heading);
        y += heading_.lineHeight() * 1.2;
        for (int i = 0; i < footnotes_.size(); ++i) {
            const QStringList lines = table_.wrapped(footnotes_.at(i), room);
            if (y + lines.size() * table_.lineHeight() > mm(kBottomMm)) {
                beginSheet(true);
                y = mm(kTopMm);
            }
            tableBold_.draw(painter_, at(left, y), QString::number(i + 1));
            for (const QString &line : lines) {
                table_.draw(painter_, at(textLeft, y), line);
                y += table_.lineHeight();
            }
            y += mm(0.6);
        }
    }

    QPainter &painter_;
    const SurveyReport &report_;
    QPaintDevice *device_;
    QPagedPaintDevice *paged_;
    QRectF sheet_;
    double pxPerMm_;
    Ink title_, heading_, caption_, value_, table_, tableBold_;
    QStringList footnotes_;
};

// A PDF text string: UTF-16BE with its byte-order mark, in hexadecimal.
QByteArray pdfTextString(const QString &text)
{
    QByteArray utf16 = "\xFE\xFF";
    for (const QChar c : text) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xFF);
    }
    return '<' + utf16.toHex().toUpper() + '>';
}

// QPdfWriter sets no author. The document information gets one by an incremental update,
// as PDF provides for changing a finished file: a new revision of the information
// dictionary, a cross-reference section for it and a trailer pointing back to the
// previous one, appended; every byte Qt wrote stays as it was. False when the file is not
// laid out as expected.
bool addPdfAuthor(QByteArray &pdf, const QString &author)
{
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startXrefAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startXrefAt < trailerAt)
        return false;
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt, startXrefAt - trailerAt));
    static const QRegularExpression sizeEntry(QStringLiteral("/Size\\s+(\\d+)"));
    static const QRegularExpression infoEntry(QStringLiteral("/Info\\s+(\\d+)\\s+(\\d+)\\s+R"));
    static const QRegularExpression rootEntry(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
    static const QRegularExpression previous(QStringLiteral("startxref\\s+(\\d+)"));
    const QRegularExpressionMatch size = sizeEntry.match(trailer);
    const QRegularExpressionMatch info = infoEntry.match(trailer);
    const QRegularExpressionMatch root = rootEntry.match(trailer);
    const QRegularExpressionMatch xref = previous.match(QString::fromLatin1(pdf.mid(startXrefAt)));
    if (!size.hasMatch() || !info.hasMatch() || !root.hasMatch() || !xref.hasMatch())
        return false;

    const QByteArray objectStart = info.captured(1).toLatin1() + ' ' + info.captured(2).toLatin1() + " obj";
    const qsizetype objectAt = pdf.indexOf("\n" + objectStart);
    const qsizetype endAt = objectAt < 0 ? -1 : pdf.indexOf("endobj", objectAt);
    const qsizetype closeAt = endAt < 0 ? -1 : pdf.lastIndexOf(">>", endAt);
    if (closeAt <= objectAt)
        return false;
    QByteArray object = pdf.mid(objectAt + 1, closeAt - objectAt - 1);
    object += "/Author " + pdfTextString(author) + "\n>>\nendobj\n";

    if (!pdf.endsWith('\n'))
        pdf += '\n';
    const qsizetype newObjectAt = pdf.size();
    pdf += object;
    const qsizetype newXrefAt = pdf.size();
    pdf += "xref\n" + info.captured(1).toLatin1() + " 1\n"
           + QByteArray::number(newObjectAt).rightJustified(10, '0') + ' '
           + info.captured(2).toLatin1().rightJustified(5, '0') + " n \n";
    pdf += "trailer\n<<\n/Size " + size.captured(1).toLatin1() + "\n/Info " + info.captured(1).toLatin1() + ' '
           + info.captured(2).toLatin1() + " R\n/Root " + root.captured(1).toLatin1() + "\n/Prev "
           + xref.captured(1).toLatin1() + "\n>>\nstartxref\n" + QByteArray::number(newXrefAt) + "\n%%EOF\n";
    return true;
}

} // namespace

SurveyReport buildSurveyReport(const Session &session)
{
    SurveyReport report;
    const auto lines = [&session](const auto &fields, size_t from, size_t to) {
        QList<QPair<QString, QString>> out;
        for (size_t i = from; i < to; ++i)
            out.append({QString::fromLatin1(fields[i].caption), fromText8(session.text(fields[i].field))});
        return out;
    };
    report.radio = lines(kStationFields, 0, kRadioStationFields);
    report.vessel = lines(kStationFields, kRadioStationFields, kStationFields.size());
    // The engineer has a line of his own, beside the date.
    report.controller = lines(kControllerFields, 0, kControllerFields.size() - 1);
    report.engineer = fromText8(session.text(Field::Engineer));
    if (session.surveyDate().isValid())
        report.date = QLocale(QLocale::English).toString(session.surveyDate(), QStringLiteral("d MMMM yyyy"));
    report.identification = fromText8(identificationText(session.store().slot(0)));
    report.rows = surveyRows(session);
    report.sampleMark = session.sampleData();
    for (const SurveyRow &row : report.rows) {
        // The record on display as the window shows it, texts typed over included: its page
        // is the one "Print report" prints.
        const bool onDisplay = row.record == session.displayIndex() && session.check().has_value();
        const RecordTexts shown =
            onDisplay ? RecordTexts{session.texts(), session.distressShown()} : session.textsWithRecord(row.record);
        ProtocolPage page;
        fillProtocolPage(page, shown.texts, shown.distress);
        page.setSampleMark(report.sampleMark);
        report.recordPages.append(page);
    }
    return report;
}

QStringList surveyFootnotes(const QList<SurveyRow> &rows)
{
    QStringList notes;
    for (const SurveyRow &row : rows) {
        if (row.empty)
            continue;
        for (const CheckFinding &finding : row.check.findings) {
            if (!notes.contains(finding.text))
                notes.append(finding.text);
        }
    }
    return notes;
}

QColor verdictColour(CheckVerdict verdict)
{
    switch (verdict) {
    case CheckVerdict::Pass: return QColor(0x1a, 0x7f, 0x37);
    case CheckVerdict::Warn: return QColor(0xa8, 0x64, 0x00);
    case CheckVerdict::Fail: return QColor(0xc6, 0x28, 0x28);
    }
    return Qt::black;
}

void renderSurveyReport(QPainter &painter, const SurveyReport &report)
{
    ReportPainter(painter, report).run();
}

QString surveyReportPdfTitle(const SurveyReport &report)
{
    QStringList about;
    if (!report.vessel.isEmpty())
        about.append(report.vessel.constFirst().second.trimmed());   // the vessel's name
    about.append(report.date);
    about.removeAll(QString());
    return about.isEmpty() ? kTitle : kTitle + QStringLiteral(" \u2014 ") + about.join(QStringLiteral(", "));
}

bool writeSurveyReportPdf(const SurveyReport &report, QIODevice *device)
{
    // Written whole first: the author goes in after the painter has finished.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeA4Pdf(&buffer, surveyReportPdfTitle(report),
                    [&report](QPainter &painter) { renderSurveyReport(painter, report); }))
        return false;
    QByteArray pdf = buffer.data();
    if (!report.engineer.trimmed().isEmpty() && !addPdfAuthor(pdf, report.engineer.trimmed()))
        return false;
    device->write(pdf);
    return true;
}

} // namespace kelpra
