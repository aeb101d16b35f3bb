#include "ui/record_panel.h"

#include "dsc/call_check.h"
#include "files/data_file.h"
#include "page/survey_report.h"
#include "ui/elided_label.h"
#include "session/session.h"
#include "ui/pictures.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kelpra {

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *namedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame *namedFrame(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

} // namespace

RecordPanel::RecordPanel(Session &session, QWidget *parent)
    : QWidget(parent), session_(session), fields_(session)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildTopLine());
    layout->addWidget(buildHeader());
    layout->addWidget(buildCallPanel(), 1);
}

QWidget *RecordPanel::buildTopLine()
{
    auto *line = new QWidget(this);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);

    layout->addWidget(namedLabel("Label15", QStringLiteral("Tester:"), line));
    // Room for the longest line the program itself puts there; a longer one is shortened,
    // whole in its tooltip.
    ElidedLabel *identification = fields_.addLabel(Field::Identification, line);
    identification->setMinimumWidth(
        identification->fontMetrics().horizontalAdvance(QString::fromLatin1(kSavedDataIdentification)) + 8);
    layout->addWidget(identification, 1);

    auto *counters = new QGridLayout;
    QLabel *received = fields_.addLabel(Field::ReceivedCount, line);
    QLabel *current = fields_.addLabel(Field::CurrentRecord, line);
    QLabel *total = fields_.addLabel(Field::TotalRecords, line);
    for (QLabel *green : {received, current, total}) {
        emphasise(green, QColor(0x00, 0x80, 0x00));
        green->setMinimumWidth(22);
    }
    counters->addWidget(namedLabel("Label21", QStringLiteral("Total recieved:"), line), 0, 0, Qt::AlignRight);
    counters->addWidget(received, 0, 1);
    counters->addWidget(namedLabel("Label23", QStringLiteral("Currently displayed:"), line), 1, 0, Qt::AlignRight);
    counters->addWidget(current, 1, 1);
    counters->addWidget(namedLabel("Label24", QStringLiteral("of"), line), 1, 2);
    counters->addWidget(total, 1, 3);
    layout->addLayout(counters);

    const auto arrow = [line](const char *name, const char *pic) {
        auto *button = new QToolButton(line);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(picture(pic));
        button->setIconSize(QSize(24, 24));
        // Keep the place of a hidden button so that the other does not jump.
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        return button;
    };
    previousButton_ = arrow("Prev", "prev");
    nextButton_ = arrow("Next", "next");
    layout->addWidget(previousButton_);
    layout->addWidget(nextButton_);
    return line;
}

QWidget *RecordPanel::buildHeader()
{
    QFrame *header = namedFrame("Bevel1", this);
    header->setFrameShadow(QFrame::Sunken);
    auto *grid = new QGridLayout(header);
    // Two header fields a row, each after its caption.
    for (size_t i = 0; i < kHeaderFields.size(); ++i) {
        const int row = static_cast<int>(i / 2);
        const int column = static_cast<int>(i % 2) * 2;
        grid->addWidget(caption(QString::fromLatin1(kHeaderFields[i].caption), header), row, column);
        grid->addWidget(fields_.addEdit(kHeaderFields[i].field, header), row, column + 1);
    }
    return header;
}

QWidget *RecordPanel::buildCallPanel()
{
    QFrame *panel = namedFrame("Panel1", this);
    auto *panelLayout = new QGridLayout(panel);

    // Both panels give their captions the width of the longest one, so that the digits and
    // meanings stand in the same columns whichever panel is on view.
    const int captionWidth = fontMetrics().horizontalAdvance(QStringLiteral("Subsequent communication:")) + 8;

    QFrame *heading = namedFrame("Panel2", panel);
    heading->setFrameShadow(QFrame::Raised);
    auto *headingLayout = new QGridLayout(heading);
    headingLayout->setContentsMargins(6, 2, 6, 2);
    QFont bold = font();
    bold.setBold(true);
    const QString titles[3] = {QStringLiteral("CONTENT: "), QStringLiteral("DIGITS:"), QStringLiteral("MEANING:")};
    for (int i = 0; i < 3; ++i) {
        auto *title = new QLabel(titles[i], heading);
        title->setFont(bold);
        if (i == 0)
            title->setFixedWidth(captionWidth);
        headingLayout->addWidget(title, 0, i);
    }
    headingLayout->setColumnStretch(1, 3);
    headingLayout->setColumnStretch(2, 5);
    panelLayout->addWidget(heading, 0, 0);

    // The call rows and the distress rows share one cell: the distress panel, when shown,
    // lies over the call rows and hides them.
    auto buildRows = [this, captionWidth](QWidget *host, const auto &rows, Field verdictBeside, Field verdict) {
        auto *grid = new QGridLayout(host);
        grid->setVerticalSpacing(3);
        int i = 0;
        for (const DecodedRow &row : rows) {
            QLabel *rowCaption = caption(QString::fromLatin1(row.windowCaption), host);
            rowCaption->setFixedWidth(captionWidth);
            grid->addWidget(rowCaption, i, 0);
            grid->addWidget(fields_.addEdit(row.digits, host), i, 1);
            if (row.meaning) {
                grid->addWidget(fields_.addEdit(*row.meaning, host), i, 2);
            } else if (row.digits == verdictBeside) {
                ElidedLabel *label = fields_.addLabel(verdict, host);
                QFont verdictFont = label->font();
                verdictFont.setBold(true);
                label->setFont(verdictFont);
                label->setBaseToolTip(
                    QStringLiteral("The test set's own verdict on the error-check character it received."));
                grid->addWidget(label, i, 2);
            }
            ++i;
        }
        // The program's own judgement of the call, below the test set's figures.
        QLabel *checkCaption = caption(QStringLiteral("Check:"), host);
        checkCaption->setFixedWidth(captionWidth);
        grid->addWidget(checkCaption, i, 0);
        auto *check = new QLabel(host);
        check->setTextFormat(Qt::PlainText);
        // A long list of findings wraps instead of widening the panel past the station
        // groups on a small screen.
        check->setWordWrap(true);
        check->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        grid->addWidget(check, i, 1, 1, 2);
        ++i;
        grid->setColumnStretch(1, 3);
        grid->setColumnStretch(2, 5);
        grid->setRowStretch(i, 1);
        return check;
    };

    callRows_ = new QWidget(panel);
    callCheck_ = buildRows(callRows_, kCallRows, kCallVerdictBeside, kCallVerdict);
    callCheck_->setObjectName(QStringLiteral("CallCheck"));
    panelLayout->addWidget(callRows_, 1, 0);

    distressPanel_ = namedFrame("Distress", panel);
    distressPanel_->setAutoFillBackground(true);
    distressCheck_ = buildRows(distressPanel_, kDistressRows, kDistressVerdictBeside, kDistressVerdict);
    distressCheck_->setObjectName(QStringLiteral("DistressCheck"));
    panelLayout->addWidget(distressPanel_, 1, 0);
    distressPanel_->raise();
    distressPanel_->setVisible(false);

    auto *buttons = new QHBoxLayout;
    downloadButton_ = new QPushButton(picture("download"), QStringLiteral("Download data"), panel);
    downloadButton_->setObjectName(QStringLiteral("Button2"));
    decodeButton_ = new QPushButton(picture("decode"), QStringLiteral("Decode message"), panel);
    decodeButton_->setObjectName(QStringLiteral("Button1"));
    decodeButton_->setVisible(false);
    buttons->addStretch();
    buttons->addWidget(downloadButton_);
    buttons->addWidget(decodeButton_);
    buttons->addStretch();
    panelLayout->addLayout(buttons, 2, 0);
    panelLayout->setRowStretch(1, 1);
    return panel;
}

void RecordPanel::attach(QAction *previous, QAction *next, QAction *download, QAction *decode)
{
    previousButton_->setDefaultAction(previous);
    nextButton_->setDefaultAction(next);
    // A picture button shows its picture only, whatever the command's menu caption says.
    for (QToolButton *button : {previousButton_, nextButton_})
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    previousButton_->setIcon(picture("prev"));
    nextButton_->setIcon(picture("next"));
    connect(downloadButton_, &QPushButton::clicked, download, &QAction::trigger);
    connect(decodeButton_, &QPushButton::clicked, decode, &QAction::trigger);
}

bool RecordPanel::distressShown() const
{
    // Asked of the panel itself, so that it also holds while the window is not on screen.
    return !distressPanel_->isHidden();
}

void RecordPanel::refresh()
{
    fields_.refresh();
    previousButton_->setVisible(session_.previousShown());
    nextButton_->setVisible(session_.nextShown());
    const bool distress = session_.distressShown();
    if (distressShown() != distress) {
        distressPanel_->setVisible(distress);
        // The call rows under the panel leave the tab chain with it.
        callRows_->setVisible(!distress);
    }
    const std::optional<CallCheck> &check = session_.check();
    // The check goes in the row of the panel the record shows in; the other row stays empty.
    showCheck(callCheck_, check && !distress ? &*check : nullptr);
    showCheck(distressCheck_, check && distress ? &*check : nullptr);
}

void RecordPanel::showCheck(QLabel *row, const CallCheck *check)
{
    QString text;
    QString tip;
    QString style;
    if (check) {
        // The colours of the survey table and the survey report.
        style = QStringLiteral("font-weight: bold; color: %1;").arg(verdictColour(check->verdict).name());
        const auto number = [](const std::optional<int> &value) {
            return value ? QString::number(*value) : QStringLiteral("none");
        };
        text = verdictName(check->verdict) + QStringLiteral("   ECC received ") + number(check->receivedEcc)
               + QStringLiteral(", computed ") + number(check->computedEcc);
        if (!check->findings.isEmpty())
            text += QStringLiteral("   ") + check->codes().join(QStringLiteral(", "));
        tip = (QStringList{QStringLiteral("Kelpra's own verdict, computed from the symbols received:")}
               + checkDetailLines(*check))
                  .join(QLatin1Char('\n'));
    }
    // Set only what changed: a new style sheet lays the row out anew, on every keystroke.
    if (row->text() != text)
        row->setText(text);
    if (row->toolTip() != tip)
        row->setToolTip(tip);
    if (row->styleSheet() != style)
        row->setStyleSheet(style);
}

} // namespace kelpra
