#pragma once
// The salt-list screen: the daily log twenty days to a page with salt bars, and
// the blood-pressure panels. Its state lives in its controls: the page shown in
// TextPAGE, the page count in LabelPAGE and the blood-pressure display mode in
// the caption of Command40.

#include "platform/OnFirstUse.h"
#include "storage/Records.h"

#include <QFrame>
#include <QString>
#include <QtGlobal>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morv {

class CalendarControl;
class Diary;
class Clock;
class DateBox;
class DataFileRequests;
class Dialogs;
class StatusLine;
class ReportPanel;

// The captions of Command40, which are also the display mode.
inline const QString PressureDisplayOffCaption = QStringLiteral("血圧表示");
inline const QString PressureDisplayOnCaption = QStringLiteral("血圧非表示");

class SaltListScreen : public QFrame {
    Q_OBJECT
public:
    static constexpr int Rows = 20;

    // While open, the list follows the diary's log, target and bar shift.
    SaltListScreen(DataFileRequests& document, Dialogs& dialogs, StatusLine& status, DateBox& date,
                   const Clock& clock, QWidget* parent);

    // Opens on the last page with the blood-pressure display off.
    void Open();
    // Shows the page typed in TextPAGE, corrected into the range of pages.
    void ShowPage();
    void PreviousPage();
    void NextPage();
    void Close();
    // Writes the rows of the page in TextPAGE; touches only those twenty rows.
    void FillLogRows();
    // The log changed under the open list (another machine's save): the page
    // count follows it, the last page stays the last, the focus stays put.
    void ShowLogAgain();
    // Places the blood-pressure bars of the rows on show.
    void DrawPressureBars();
    bool PressureDisplayOn() const;

    // ---- Blood pressure ----
    void TogglePressureDisplay();
    void PressureDayBefore();
    void PressureDayAfter();
    void OpenPressureCalendar();
    void RegisterPressure();
    void DeletePressure();
    void ShiftBarsLeft();
    void ShiftBarsRight();
    // Command38 is enabled only while the date of Text2 has a reading.
    void PressureDeleteAvailability();

    // ---- A daily log imported by the data dialog, pending until confirmed ----
    void ConfirmImport();
    void CancelImport();

    // ---- The table ----
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    std::array<QLabel*, Rows> LabelE1{};  // dates
    std::array<QLabel*, Rows> LabelE2{};  // salt in grams
    std::array<QLabel*, Rows> LabelE3{};  // salt bars
    std::array<QLabel*, Rows> LabelE4{};  // blood-pressure bars
    QLabel* Label23 = nullptr;
    QLineEdit* TextPAGE = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* LabelPAGE = nullptr;
    QPushButton* Command15 = nullptr;
    QPushButton* Command17 = nullptr;
    QPushButton* Command18 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command40 = nullptr;

    // ---- Blood-pressure entry ----
    QFrame* Picture5 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command37 = nullptr;
    QPushButton* Command35 = nullptr;
    QPushButton* Command36 = nullptr;
    QLabel* Label38 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLabel* Label39 = nullptr;
    QLineEdit* Text6 = nullptr;
    QPushButton* Command39 = nullptr;
    QPushButton* Command38 = nullptr;
    OnFirstUse<CalendarControl> Calendar2{[this] { return buildCalendar2(); }};

    // ---- Bar shift ----
    QFrame* Picture6 = nullptr;
    QPushButton* Command41 = nullptr;
    QLabel* Label40 = nullptr;
    QPushButton* Command42 = nullptr;

    // ---- Confirmation of a daily-log import ----
    QLabel* Label37 = nullptr;
    QPushButton* Command28 = nullptr;
    QPushButton* Command29 = nullptr;

    // ---- The report and the page's summary line ----
    QLabel* LabelSummary = nullptr;
    QPushButton* CommandReport = nullptr;
    ReportPanel* Report = nullptr;

    // Tab cycles through the screen's own controls; the main view lies
    // underneath, visible to Qt but covered, and must not take the focus.
    // Public: the window hands Tab on while the screen is open.
    bool focusNextPrevChild(bool next) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildTable();
    void buildPressurePanels();
    CalendarControl* buildCalendar2();
    void buildImportControls();
    void wire();
    // What changed in the diary, on the rows on show.
    void showChanges();
    void fillRowsFrom(qint64 first);
    void wirePressure();
    void hidePressureBars();
    void showImportConfirmation(bool pending);
    void endImport();
    void setPageCount(qint64 pages);
    void movePressureDate(int days);
    void onPressureDayPicked();
    void onPressureEnter(bool inFirstBox);
    void updateRegisterAvailability();
    void focusText5();

    DataFileRequests& document_;
    Diary& diary_;
    Dialogs& dialogs_;
    StatusLine& status_;
    DateBox& date_;
    const Clock& clock_;
    // The first record of the rows on show. The bars follow the rows even when
    // another page number has been typed but not yet shown.
    qint64 shownFirst_ = 0;
    QList<QWidget*> tabChain_;
    // The log an import replaced, should Enbun.txt fail to give it back.
};

}  // namespace morv
