#pragma once

#include "data/fields.h"
#include "page/protocol_page.h"

#include <QKeySequence>
#include <QMap>
#include <QMainWindow>

class QAction;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolBar;
class QToolButton;

namespace kelpra {

class MeasurementStore;
class Prompts;
struct CallCheck;
struct DecodedRecord;
struct NavigationView;
class DownloadWindow;
class AboutBox;

// The main window. Controls carry the names the rest of the program knows them by (each
// is also the widget's objectName); handlers are named after their control and event.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(MeasurementStore &store, Prompts &prompts, QWidget *parent = nullptr);
    ~MainWindow() override;

    MeasurementStore &store() const { return store_; }
    Prompts &prompts() const { return prompts_; }

    // The other windows, known once they have been created.
    void setDownloadWindow(DownloadWindow *window) { downloadWindow_ = window; }
    void setAboutBox(AboutBox *window) { aboutBox_ = window; }
    DownloadWindow *downloadWindow() const { return downloadWindow_; }
    AboutBox *aboutBox() const { return aboutBox_; }
    // The printed protocol's page, filled by "Print report".
    const ProtocolPage &protocolPage() const { return page_; }

    // Field texts: every edit field, and the labels Label16, Label22, current, total,
    // ECCCheck and ECCCDheck. 8-bit texts are Windows-1251.
    QString fieldText(Field field) const;
    void setFieldText(Field field, const QString &text);
    QByteArray fieldText8(Field field) const;
    void setFieldText8(Field field, const QByteArray &text);
    FieldTexts fieldTexts() const;    // every field

    QString statusText() const;
    void setStatusText(const QString &text);

    // What the download and the fills change of the top line: the counters and which of
    // Prev and Next show.
    void showNavigation(const NavigationView &view);
    void setPrevVisible(bool visible);
    void setNextVisible(bool visible);
    // Clicks the (never shown) "Decode message" button, as the fills do.
    void clickDecodeMessage();
    // The distress panel lies over the call rows.
    bool distressShown() const;

    // Shell
    void startUp();
    void showDownloadWindow();        // "Download data": shows the download window
    void showAboutBox();  // "About software"

    // Navigation and decoding
    void nextRecord();
    void previousRecord();
    void decodeMessage();        // "Decode message"
    void clearCallFields();
    // Decodes the record in the slot into the fields; an empty slot shows a message
    // instead and leaves the fields empty.
    void showRecord(int slot);

    // Files
    void openData();   // "Open data"
    void saveData();   // "Save data"
    void saveAllData();   // "Save all data"
    void saveDetails();        // "Save details"
    void restoreDetails();      // the controller lines from details.txt

    // Reports
    void saveReport();   // "Save report"
    void printReport();   // "Print report"

    // Shows the general error handler's box for an error text.
    void showError(const QString &errorText);

    // Everyday use: the PDF export, the status bar's right-hand area and the keyboard.
    void exportProtocolPdf();                          // "Export protocol as PDF…"
    void showFileMessage(const QString &text, const QString &path = QString());
    QString fileMessage() const;
    bool sampleNoteShown() const;

Q_SIGNALS:
    // The main window has been closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolBars();
    QWidget *buildTopLine();
    QWidget *buildHeader();
    QWidget *buildCallPanel();
    QWidget *buildStationGroups();
    QLineEdit *addEdit(Field field, QWidget *parent);
    QLabel *addLabel(const char *name, const QString &caption);
    QLabel *addFieldLabel(Field field, QWidget *parent);
    void showDecoded(int slot, const DecodedRecord &decoded);
    void showCheck(QLabel *row, const CallCheck *check);
    void setDistressShown(bool shown);
    void showIdentification();
    void buildKeyboard();
    void refreshSampleNote();
    ProtocolPage filledPage();

    // The file name "Open data" chose last time, proposed again by OpenDialog1.
    QString OpenDialog1FileName;

    // Menu bar, menus and items
    QMenuBar *MainMenu1 = nullptr;
    QMenu *F = nullptr;
    QMenu *MessageDecode1 = nullptr;
    QMenu *About1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *Open1 = nullptr, *Save1 = nullptr, *Saveall1 = nullptr, *Saveprintinfo1 = nullptr,
            *Print1 = nullptr, *Exit2 = nullptr, *Downloaddata1 = nullptr, *Decodemessage1 = nullptr,
            *Aboutprogram1 = nullptr;

    // Tool bars and their picture buttons
    QToolBar *ToolBar1 = nullptr;
    QToolBar *ToolBar2 = nullptr;
    QToolButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr,
                *SpeedButton4 = nullptr, *SpeedButton5 = nullptr, *SpeedButton6 = nullptr,
                *SpeedButton7 = nullptr, *SpeedButton8 = nullptr, *SpeedButton10 = nullptr;

    // Top line
    QLabel *Label15 = nullptr, *Label16 = nullptr, *Label21 = nullptr, *Label22 = nullptr,
           *Label23 = nullptr, *current = nullptr, *Label24 = nullptr, *total = nullptr;
    QToolButton *Prev = nullptr, *Next = nullptr;

    // Measurement header, call panel and distress panel; their fields are in edits_ and
    // labels_.
    QFrame *Bevel1 = nullptr;
    QFrame *Panel1 = nullptr, *Panel2 = nullptr;
    QFrame *Distress = nullptr;
    QLabel *CallCheck_ = nullptr;      // CallCheck: the check of a call, under the call rows
    QLabel *DistressCheck_ = nullptr;  // DistressCheck: the same under the distress rows

    // Bottom of the call panel
    QPushButton *Button1 = nullptr;  // "Decode message", never shown
    QPushButton *Button2 = nullptr;  // "Download data"
    QLabel *StatusBar1 = nullptr;    // the status line, one text

    // Station groups
    QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr;
    QDateEdit *DateTimePicker1 = nullptr;
    QPushButton *BitBtn1 = nullptr;   // "Save details"
    QWidget *callRows_ = nullptr;      // the call rows, under the distress panel

    MeasurementStore &store_;
    Prompts &prompts_;
    DownloadWindow *downloadWindow_ = nullptr;
    AboutBox *aboutBox_ = nullptr;
    ProtocolPage page_;
    QMap<Field, QLineEdit *> edits_;
    QMap<Field, QLabel *> labels_;
    QAction *exportPdfAction_ = nullptr;       // ExportPdf1
    QToolButton *exportPdfButton_ = nullptr;   // SpeedButton11
    QLabel *fileMessage_ = nullptr;            // FileMessage, right of StatusBar1
    QLabel *sampleNote_ = nullptr;             // SampleNote
    QList<QKeySequence> windowShortcuts_;
};

} // namespace kelpra
