#pragma once
// The one window of the program. It owns the document (the diary with its
// files) and the main view's controls, composes the panels, and wires their
// requests. Each panel gets the diary or the document and the narrow services
// it uses: the status line and the date box (both the window's), the dialogs,
// the clock, the grid's selected box, the values waiting to land there.

#include "diary/DiaryDocument.h"
#include "platform/OnFirstUse.h"
#include "seasoning/SeasoningStrip.h"
#include "storage/Records.h"
#include "ui/DateBox.h"
#include "ui/StatusLine.h"
#include "ui/WaitingValues.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace morv {

class BeforeFirstInput;
class CalendarControl;
class ColumnPanel;
class Clock;
class DataDialog;
class DeletionPanel;
class FoodTableWindow;
class Dialogs;
class ItemGrid;
class PreviewBar;
class SaltListScreen;
class SeasoningPanel;
class SelectedItemsPanel;
class WeightPanel;

class Form1 : public QWidget, private StatusLine, private DateBox {
    Q_OBJECT
public:
    // dataFolder ends in "/"; it has been located (and locked) by the caller.
    // ops is where the data files are written; tests make it fail.
    Form1(Dialogs& dialogs, const Clock& clock, QString dataFolder, FileOps& ops = SystemFileOps(),
          QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: today's date, the window's place, the data files into the
    // diary, the day's total. The single-instance check happens before the
    // window exists. The log, by far the largest file, may be read right
    // after the window's first paint instead, but always before the first
    // input is handled.
    enum class LogRead { AtOnce, AfterFirstPaint };
    void Load(LogRead when = LogRead::AtOnce);

    // On a screen whose free area is smaller than the window, the window
    // shrinks to it and its content scrolls; the content keeps its size and
    // every control its place in it. FitToScreen asks the window's screen.
    void FitToScreen();
    void FitInto(const QSize& available);

    // ---- The diary and the window's own state ----
    DiaryDocument& document() { return document_; }
    Diary& diary() { return document_.diary(); }
    const Diary& diary() const { return document_.diary(); }
    const QString& DataFolder() const { return dataFolder_; }
    const ItemList& ItemTable() const { return diary().ItemTable(); }
    const LogList& DailyLog() const { return diary().DailyLog(); }
    int LogCount() const { return diary().LogCount(); }
    const SeasoningList& SeasoningTable() const { return diary().SeasoningTable(); }
    qint32 PressureBarShift() const { return diary().PressureBarShift(); }
    QString SaltTarget() const { return diary().SaltTarget(); }
    bool ItemImportPending() const { return diary().ItemImportPending(); }
    bool LogImportPending() const { return diary().LogImportPending(); }
    int ItemPage() const;
    bool SodiumAreaSelected() const;
    bool SaltAreaSelected() const;
    int SelectedRow() const;
    bool EnterPrompt() const override { return enterPrompt_; }
    // The seasoning total carried to the strip, "0" when none.
    WaitingValues& Waiting() { return waiting_; }

    void ResetStatusLine() override;
    // The day's total and its colour, from the diary: it follows every
    // change of an item or the target.
    void EnbunGoukei();
    void ShowStatus(const QString& text) override;

    // Whether the close has saved the diary whole: what ending on a signal
    // reports as its status.
    bool SavedWhole() const { return saved_ && !saveFailed_; }

    // ---- The window's controls, found by tests also by object name ----
    QLabel* Label3() const { return Label3_; }
    QLabel* Label46() const { return Label46_; }
    QLineEdit* Text1_0() const { return Text1_0_; }
    QPushButton* Command9() const { return Command9_; }
    QPushButton* Command16() const { return Command16_; }
    QPushButton* Command10() const { return Command10_; }
    OnFirstUse<CalendarControl>& Calendar1() { return Calendar1_; }
    QPushButton* Command2() const { return Command2_; }
    QPushButton* Command30() const { return Command30_; }
    QPushButton* Command3() const { return Command3_; }
    QPushButton* Command13() const { return Command13_; }
    QPushButton* Command8() const { return Command8_; }
    QPushButton* Command1() const { return Command1_; }
    QLabel* LabelEnbun() const { return LabelEnbun_; }
    QLineEdit* TextMoku() const { return TextMoku_; }
    const std::array<QPushButton*, 10>& CommandP() const { return CommandP_; }
    const std::array<QFrame*, 16>& Pictureb() const { return Pictureb_; }
    ItemGrid* Grid() const { return Grid_; }
    QPushButton* Command47() const { return Command47_; }
    WeightPanel* Picture1() const { return Picture1_; }
    SeasoningStrip* Picture7() const { return Picture7_; }
    QLabel* LabelEnbunR() const { return LabelEnbunR_; }
    OnFirstUse<SaltListScreen>& PictureE() { return PictureE_; }
    OnFirstUse<SelectedItemsPanel>& PictureH() { return PictureH_; }
    OnFirstUse<SeasoningPanel>& PictureCho() { return PictureCho_; }
    OnFirstUse<DataDialog>& Picture2() { return Picture2_; }
    OnFirstUse<PreviewBar>& Picture3() { return Picture3_; }
    OnFirstUse<DeletionPanel>& Picture4() { return Picture4_; }
    OnFirstUse<FoodTableWindow>& FoodTable() { return FoodTable_; }
    // "食品成分表": a food of the built-in table into the row of `slot`.
    void OpenFoodTable(int slot);

    // What the autosave runs, at once: everything on disk before it returns,
    // or on a thread for the log, as the timer does.
    void AutosaveNow() { document_.SaveChangedNow(); }
    void AutosaveInBackground() { document_.SaveInBackground(); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // ---- The status line and the date box, for the panels ----
    void SetEnterPrompt(bool on) override { enterPrompt_ = on; }
    QString DateShown() const override;
    void SetDateShown(const QString& date) override;
    void FocusDateBox(Qt::FocusReason reason) override;
    void HideCalendar() override;

    // ---- What the panels ask, wired once ----
    void wireColumnPanel(ColumnPanel* panel);
    void showSidePanels(bool shown);
    void coverCommands(bool covered);
    void showPreviewFileName(const QString& name);
    void showDateButtons(bool shown);
    void beginItemPreview(const QString& fileName);
    // The views of the main view follow the diary from here.
    void followDiary();

    void buildMainView();
    // Where the controls and panels live: the window, or the scrolled content.
    QWidget* host();
    void installShortcuts();
    void showShortcutList();
    SaltListScreen* buildPictureE();
    SelectedItemsPanel* buildPictureH();
    SeasoningPanel* buildPictureCho();
    DataDialog* buildPicture2();
    PreviewBar* buildPicture3();
    DeletionPanel* buildPicture4();
    FoodTableWindow* buildFoodTable();
    CalendarControl* buildCalendar1();
    void wireMainView();
    void setTabOrder();

    void placeOnScreen();
    // The five writes of shutdown; a failure is told in a message box before
    // the program ends, since the status line is about to disappear.
    void SaveAll();
    void showHeldBack(const QStringList& files);
    void onExit();
    void onDayPicked();
    void onDayBefore();
    void onDayAfter();
    void onOpenCalendar();
    void moveDate(int days);
    void onRegister();

    // Once per start-up: which file was kept aside where, and what shows instead.
    void ShowKeptCopies();
    void readLog();
    BeforeFirstInput* logGuard_ = nullptr;

    Dialogs& dialogs_;
    const Clock& clock_;
    QString dataFolder_;
    DiaryDocument document_;
    WaitingValues waiting_;
    bool saved_ = false;
    bool saveFailed_ = false;
    bool enterPrompt_ = false;
    QScrollArea* scroller_ = nullptr;  // only on a screen too small for the window
    QWidget* content_ = nullptr;

    // ---- Main view ----
    QLabel* Label3_ = nullptr;      // status line
    QLabel* Label46_ = nullptr;     // name of a previewed import file
    QLineEdit* Text1_0_ = nullptr;  // the date to register
    QPushButton* Command9_ = nullptr;
    QPushButton* Command16_ = nullptr;
    QPushButton* Command10_ = nullptr;
    OnFirstUse<CalendarControl> Calendar1_{[this] { return buildCalendar1(); }};
    QPushButton* Command2_ = nullptr;
    QPushButton* Command30_ = nullptr;
    QPushButton* Command3_ = nullptr;
    QPushButton* Command13_ = nullptr;
    QPushButton* Command8_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QLabel* Label4_ = nullptr;
    QLabel* LabelEnbun_ = nullptr;
    QLabel* Label5_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLineEdit* TextMoku_ = nullptr;
    QLabel* Label2_ = nullptr;
    QLabel* Label6_ = nullptr;
    std::array<QPushButton*, 10> CommandP_{};
    std::array<QFrame*, 16> Pictureb_{};
    ItemGrid* Grid_ = nullptr;  // the rows' controls and handlers
    QPushButton* Command47_ = nullptr;
    WeightPanel* Picture1_ = nullptr;
    SeasoningStrip* Picture7_ = nullptr;  // seasoning strip
    QLabel* LabelEnbunR_ = nullptr;       // the strip's carried total, "0" when none

    // ---- Overlay panels, each built when it first opens ----
    OnFirstUse<SaltListScreen> PictureE_{[this] { return buildPictureE(); }};
    OnFirstUse<SelectedItemsPanel> PictureH_{[this] { return buildPictureH(); }};
    OnFirstUse<SeasoningPanel> PictureCho_{[this] { return buildPictureCho(); }};
    OnFirstUse<DataDialog> Picture2_{[this] { return buildPicture2(); }};  // input/output dialog
    OnFirstUse<PreviewBar> Picture3_{[this] { return buildPicture3(); }};  // import preview bar
    OnFirstUse<DeletionPanel> Picture4_{[this] { return buildPicture4(); }};
    OnFirstUse<FoodTableWindow> FoodTable_{[this] { return buildFoodTable(); }};
};

}  // namespace morv
