#pragma once
// The deletion dialog over the command column: delete the item data or the
// daily log, or cancel.

#include "ui/ColumnPanel.h"

namespace morv {

class DataFileRequests;
class Dialogs;

class DeletionPanel : public ColumnPanel {
    Q_OBJECT
public:
    DeletionPanel(DataFileRequests& document, Dialogs& dialogs, StatusLine& status, QWidget* parent);

    void Open();
    void Cancel();
    // Each empties one table and deletes its file; should the file stay,
    // the table stays as well and the status line says so.
    void DeleteItems();
    void DeleteLog();

    QLabel* Label16_1 = nullptr;
    QPushButton* Command31 = nullptr;
    QLabel* Label16_2 = nullptr;
    QPushButton* Command32 = nullptr;
    QPushButton* Command33 = nullptr;

private:
    // The question asked and answered Yes; otherwise the focus goes to cancel.
    bool confirmed(const QString& question);
    void done(const QString& notice);

    DataFileRequests& document_;
    Dialogs& dialogs_;
};

}  // namespace morv
