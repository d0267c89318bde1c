#pragma once
// The one window of the program. It owns the diary and the main view's
// controls; each panel gets the diary and the window's MainWindow side.

#include "app/MainWindow.h"
#include "app/core/Diary.h"
#include "platform/OnFirstUse.h"
#include "seasoning/SeasoningStrip.h"
#include "storage/DataFiles.h"
#include "storage/Records.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <thread>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace morv {

class Autosave;
class BeforeFirstInput;
class CalendarControl;
class Clock;
class DataDialog;
class DeletionPanel;
class Dialogs;
class FolderSync;
class ItemGrid;
class PreviewBar;
class SaltListScreen;
class SeasoningPanel;
class SelectedItemsPanel;
class WeightPanel;

class Form1 : public QWidget, private MainWindow {
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
    Diary& diary() { return diary_; }
    const Diary& diary() const { return diary_; }
    const QString& DataFolder() const { return dataFolder_; }
    const ItemList& ItemTable() const { return diary_.ItemTable(); }
    const LogList& DailyLog() const { return diary_.DailyLog(); }
    int LogCount() const { return diary_.LogCount(); }
    const SeasoningList& SeasoningTable() const { return diary_.SeasoningTable(); }
    qint32 PressureBarShift() const { return diary_.PressureBarShift(); }
    QString SaltTarget() const { return diary_.SaltTarget(); }
    bool ItemImportPending() const { return diary_.ItemImportPending(); }
    bool LogImportPending() const { return diary_.LogImportPending(); }
    int ItemPage() const;
    bool SodiumAreaSelected() const { return Selection().sodium; }
    bool SaltAreaSelected() const { return Selection().salt; }
    int SelectedRow() const { return Selection().row; }
    bool EnterPrompt() const override { return enterPrompt_; }

    void ResetStatusLine() override;
    void EnbunGoukei() override;
    void ShowStatus(const QString& text) override;
    void showDecimalPointMessage() override;

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

    // What the autosave runs: the writes of the files that changed, under
    // the close's rules, quietly. A failure shows the storage message in the
    // status line once, until a save works.
    void AutosaveNow();
    // What the autosave's timer runs: the same, but a changed log is written
    // on a thread of its own from a snapshot, so that a long log never stalls
    // the window; the other files are small and written at once.
    void AutosaveInBackground();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // ---- MainWindow, for the panels ----
    Dialogs& dialogs() override { return dialogs_; }
    const Clock& clock() const override { return clock_; }
    // Waits for a log save running on its thread: a panel's own writes and
    // deletions (imports, "削除") never meet it.
    DataFiles& files() override;
    void SetEnterPrompt(bool on) override { enterPrompt_ = on; }
    QString DateShown() const override;
    void SetDateShown(const QString& date) override;
    void FocusDateBox(Qt::FocusReason reason) override;
    void HideCalendar() override;
    void ShowFirstItemPage() override;
    void ReloadItemPage() override;
    GridSelection Selection() const override;
    void PutIntoSelectedBox(const QString& text) override;
    QString SelectedBoxText() const override;
    void MarkSelectedBox(bool marked) override;
    bool WeightPending() const override;
    QString CarriedSalt() const override;
    void SetCarriedSalt(const QString& salt) override;
    void FocusSeasoningButton() override;
    void ShowSidePanels(bool shown) override;
    void CoverCommands(bool covered) override;
    void Register() override;
    void OpenSaltList() override;
    void OpenSelectedItems() override;
    void FocusSelectedItemsButton() override;
    QString PreviewFileName() const override;
    void ShowPreviewFileName(const QString& name) override;
    void ShowDateButtons(bool shown) override;
    void BeginItemPreview(const QString& fileName) override;
    void ExportItems() override;
    void ExportLog() override;
    void ImportLog() override;
    void ExportFile(const QString& proposedName, const QByteArray& bytes) override;
    std::optional<QString> ImportText(qint64 limit, bool unreadableInStatusLine) override;
    void RefuseImport(const QString& text) override;
    void CloseDataDialog() override;

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
    CalendarControl* buildCalendar1();
    void wireMainView();
    void setTabOrder();

    void placeOnScreen();
    // The five writes of shutdown; a failure is told in a message box before
    // the program ends, since the status line is about to disappear.
    void SaveAll();
    void onExit();
    void onDayPicked();
    void onDayBefore();
    void onDayAfter();
    void onOpenCalendar();
    void moveDate(int days);
    void onRegister();

    // The writes of the close, with its rules, of every file or of the
    // changed ones; the number that failed.
    int WriteDataFiles(bool changedOnly);
    // A write refused because another machine's save came in is merged and
    // tried again.
    int writeFile(DataFile file);
    int writeOnce(DataFile file);
    // The file's data came in from outside: whatever shows it shows it again.
    void showReloaded(DataFile file);
    // Once per start-up: which file was kept aside where, and what shows instead.
    void ShowKeptCopies();
    void readLog();
    BeforeFirstInput* logGuard_ = nullptr;
    void autosave(bool logAway);
    void startLogSave();
    // Waits for a log save on its thread, if one runs, and takes its result.
    void finishLogSave();
    // A plain thread: its join is what hands the result over, visible as
    // such to the thread sanitizer (Qt's own waits are not).
    std::thread logSave_;
    quint64 logSaveRun_ = 0;  // which save a late "finished" belongs to
    std::optional<DataFiles::LogWritten> logSaved_;
    quint64 logSaveGeneration_ = 0;

    Dialogs& dialogs_;
    const Clock& clock_;
    QString dataFolder_;
    Diary diary_;
    std::unique_ptr<DataFiles> files_;
    Autosave* autosave_ = nullptr;
    FolderSync* sync_ = nullptr;
    bool autosaveFailing_ = false;
    bool quietStorageStatus_ = false;
    bool saved_ = false;
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
};


}  // namespace morv
