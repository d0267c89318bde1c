#pragma once
// What a panel may ask of the main window. Panels get this and the Diary,
// never the window itself: the window's controls stay its own, and each
// request here is one step the window knows how to take.

#include <QByteArray>
#include <QString>
#include <Qt>
#include <optional>

namespace morv {

class Clock;
class DataFiles;
class Dialogs;

// The grid box that receives a weight conversion or a carried seasoning total.
struct GridSelection {
    bool sodium = false;
    bool salt = false;
    int row = 0;
};

class MainWindow {
public:
    virtual Dialogs& dialogs() = 0;
    virtual const Clock& clock() const = 0;
    virtual DataFiles& files() = 0;

    // ---- Status line and messages ----
    // While an item import is previewed the status line keeps its reminder;
    // otherwise the date box loses any error colour and the status line empties.
    virtual void ResetStatusLine() = 0;
    // Red text in the status line.
    virtual void ShowStatus(const QString& text) = 0;
    // The refusal of a second decimal point, the same for every number box.
    virtual void showDecimalPointMessage() = 0;
    // The hint while a counted salt is being edited.
    virtual bool EnterPrompt() const = 0;
    virtual void SetEnterPrompt(bool on) = 0;

    // ---- The day's total and the date ----
    virtual void EnbunGoukei() = 0;
    virtual QString DateShown() const = 0;
    virtual void SetDateShown(const QString& date) = 0;
    virtual void FocusDateBox(Qt::FocusReason reason = Qt::OtherFocusReason) = 0;
    virtual void HideCalendar() = 0;

    // ---- The grid ----
    // Page 1, no selection, the total recomputed: after the table was replaced.
    virtual void ShowFirstItemPage() = 0;
    // The shown rows read again from the table (after ticks changed under them).
    virtual void ReloadItemPage() = 0;
    virtual GridSelection Selection() const = 0;
    // The selected box gets `text`, as if typed, and the focus; the total
    // follows a salt box.
    virtual void PutIntoSelectedBox(const QString& text) = 0;
    virtual QString SelectedBoxText() const = 0;
    // The selected box is coloured as the place a pending value will land, or
    // plain again.
    virtual void MarkSelectedBox(bool marked) = 0;
    // The weight panel holds a value that could go into the grid.
    virtual bool WeightPending() const = 0;
    // The seasoning total carried to the strip, "0" when none.
    virtual QString CarriedSalt() const = 0;
    virtual void SetCarriedSalt(const QString& salt) = 0;
    virtual void FocusSeasoningButton() = 0;

    // ---- The command column ----
    // The weight panel and the seasoning strip step aside for a column dialog.
    virtual void ShowSidePanels(bool shown) = 0;
    // Tab passes over the commands a column panel covers.
    virtual void CoverCommands(bool covered) = 0;
    virtual void Register() = 0;
    virtual void OpenSaltList() = 0;
    virtual void OpenSelectedItems() = 0;
    // The focus goes back to where the selected-items list was opened from.
    virtual void FocusSelectedItemsButton() = 0;

    // ---- Exchange ----
    // The name of the previewed item file, empty when none.
    virtual QString PreviewFileName() const = 0;
    virtual void ShowPreviewFileName(const QString& name) = 0;
    virtual void ShowDateButtons(bool shown) = 0;
    // The preview bar takes over the column after an item import.
    virtual void BeginItemPreview(const QString& fileName) = 0;
    virtual void ExportItems() = 0;
    virtual void ExportLog() = 0;
    virtual void ImportLog() = 0;
    // The data dialog's shared file steps, for the log's exchange.
    virtual void ExportFile(const QString& proposedName, const QByteArray& bytes) = 0;
    virtual std::optional<QString> ImportText(qint64 limit, bool unreadableInStatusLine) = 0;
    virtual void RefuseImport(const QString& text) = 0;
    virtual void CloseDataDialog() = 0;

protected:
    ~MainWindow() = default;
};

}  // namespace morv
