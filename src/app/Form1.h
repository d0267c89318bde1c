#pragma once
// The one window of the program. It owns every piece of the diary's state for
// the whole run; each screen and panel reaches that state through it.

#include "app/core/SelectedItems.h"
#include "platform/OnFirstUse.h"
#include "seasoning/SeasoningStrip.h"
#include "storage/DataFiles.h"
#include "storage/Records.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace morv {

class Autosave;
class CalendarControl;
class Clock;
class DataDialog;
class DeletionPanel;
class Dialogs;
class ItemGrid;
class PreviewBar;
class SaltListScreen;
class SeasoningPanel;
class SelectedItemsPanel;
class WeightPanel;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // dataFolder ends in "/"; it has been located (and locked) by the caller.
    // ops is where the data files are written; tests make it fail.
    Form1(Dialogs& dialogs, const Clock& clock, QString dataFolder, FileOps& ops = SystemFileOps(),
          QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: today's date, the window's place, the data files into the tables,
    // the day's total. The single-instance check happens before the window exists.
    void Load();

    // ---- The diary's state ----
    QString DataFolder;
    ItemList ItemTable;
    LogList DailyLog;
    int LogCount() const { return static_cast<int>(DailyLog.size()); }
    SeasoningList SeasoningTable{};
    SeasoningList SeasoningDefaults{};
    qint32 PressureBarShift = DefaultPressureBarShift;
    QString SaltTarget() const;

    int ItemPage = 0;
    bool SodiumAreaSelected = false;
    bool SaltAreaSelected = false;
    int SelectedRow = 0;
    bool EnterPrompt = false;

    SelectedItemList SelectedItems;  // the selected-items list, as taken when it opened

    QString ExchangeFile;
    bool ItemImportPending = false;
    bool LogImportPending = false;

    // ---- Shared steps ----
    // While an item import is previewed the status line keeps its reminder;
    // otherwise the date box loses any error colour and the status line empties.
    void ResetStatusLine();
    // Recomputes the day's total and colours it against the target.
    void EnbunGoukei();
    // Red text in the status line.
    void ShowStatus(const QString& text);

    Dialogs& dialogs() { return dialogs_; }
    const Clock& clock() const { return clock_; }
    DataFiles& files() { return *files_; }

    // ---- Main view ----
    QLabel* Label3 = nullptr;      // status line
    QLabel* Label46 = nullptr;     // name of a previewed import file
    QLineEdit* Text1_0 = nullptr;  // the date to register
    QPushButton* Command9 = nullptr;
    QPushButton* Command16 = nullptr;
    QPushButton* Command10 = nullptr;
    OnFirstUse<CalendarControl> Calendar1{[this] { return buildCalendar1(); }};
    QPushButton* Command2 = nullptr;
    QPushButton* Command30 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* LabelEnbun = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* TextMoku = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    std::array<QPushButton*, 10> CommandP{};
    std::array<QFrame*, 16> Pictureb{};
    ItemGrid* Grid = nullptr;  // the rows' controls and handlers
    QPushButton* Command47 = nullptr;
    WeightPanel* Picture1 = nullptr;
    SeasoningStrip* Picture7 = nullptr;  // seasoning strip
    QLabel* LabelEnbunR = nullptr;       // the strip's carried total, "0" when none

    // ---- Overlay panels, each built when it first opens ----
    OnFirstUse<SaltListScreen> PictureE{[this] { return buildPictureE(); }};
    OnFirstUse<SelectedItemsPanel> PictureH{[this] { return buildPictureH(); }};
    OnFirstUse<SeasoningPanel> PictureCho{[this] { return buildPictureCho(); }};
    OnFirstUse<DataDialog> Picture2{[this] { return buildPicture2(); }};  // input/output dialog
    OnFirstUse<PreviewBar> Picture3{[this] { return buildPicture3(); }};  // import preview bar
    OnFirstUse<DeletionPanel> Picture4{[this] { return buildPicture4(); }};

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void buildMainView();
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

public:
    // The message box of a refused second decimal point, shared by every number box.
    void showDecimalPointMessage();

    // ---- Saving as the user goes ----
    // The diary's data changed other than by a key or a click (which the
    // autosave sees by itself): save it within about two seconds.
    void DataChanged();
    // What the autosave runs: the close's writes and rules, quietly. A failure
    // shows the storage message in the status line once, until a save works.
    void AutosaveNow();

private:
    // The writes of the close, with its rules; the number that failed.
    int WriteDataFiles();
    // Once per start-up: which file was kept aside where, and what shows instead.
    void ShowKeptCopies();
    Autosave* autosave_ = nullptr;
    bool autosaveFailing_ = false;
    bool quietStorageStatus_ = false;

private:
    Dialogs& dialogs_;
    const Clock& clock_;
    std::unique_ptr<DataFiles> files_;
    bool saved_ = false;
};

// The object name of element i of a control array, e.g. "CommandP(3)".
QString ArrayName(const char* base, int index);

}  // namespace morv
