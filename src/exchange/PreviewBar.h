#pragma once
// The bar over the command column while an imported item-data file is
// previewed: shortcuts to the main commands, and adopt or drop.

#include "storage/Records.h"
#include "ui/ColumnPanel.h"

namespace morv {

class Clock;
class DateBox;
class DataFileRequests;
class Dialogs;

class PreviewBar : public ColumnPanel {
    Q_OBJECT
public:
    PreviewBar(DataFileRequests& document, Dialogs& dialogs, StatusLine& status, DateBox& date,
               const Clock& clock, QWidget* parent);

    // The import has loaded `fileName` into the diary.
    void Begin(const QString& fileName);
    void Adopt();
    void Drop();

    QPushButton* Command25 = nullptr;
    QPushButton* Command26 = nullptr;
    QPushButton* Command27 = nullptr;
    QPushButton* Command34 = nullptr;
    QLabel* Label16_25 = nullptr;
    QLabel* Label16_28 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command11 = nullptr;

protected:
    // Escape on the bar is its "キャンセル", as on every panel; elsewhere in
    // the main view it leaves the preview alone.
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // The bar's shortcuts to the main commands it covers, which do exactly
    // what those do.
    void registerRequested();
    void saltListRequested();
    void selectedItemsRequested();
    void exportRequested();
    // The name of the previewed file, empty when the preview ends.
    void previewFileNameChanged(const QString& name);
    // The date buttons are hidden while the date is the file's.
    void dateButtonsShown(bool shown);

private:
    // Back to the normal state on today's date.
    void end();

    DataFileRequests& document_;
    Dialogs& dialogs_;
    DateBox& date_;
    const Clock& clock_;
};

}  // namespace morv
