#pragma once
// The data input/output dialog over the command column: export and import of
// the item data, the daily-log pair, and cancel. It also holds the file-dialog
// steps both exchanges share.

#include "exchange/core/ExchangeFiles.h"
#include "ui/ColumnPanel.h"

#include <optional>

namespace morv {

class DateBox;
class DataFileRequests;
class Dialogs;

class DataDialog : public ColumnPanel {
    Q_OBJECT
public:
    DataDialog(DataFileRequests& document, Dialogs& dialogs, StatusLine& status, DateBox& date,
               QWidget* parent);

    void Open();
    void Cancel();
    void ExportItems();
    void ImportItems();
    // The daily log to a file, and a file shown on the salt list until the
    // import is confirmed or cancelled there.
    void ExportLog();
    void ImportLog();

    // Asks for a file (proposing `proposedName`), asks before replacing an
    // existing one, writes `bytes` whole and tells the user; the dialog then
    // closes. A failed write leaves the previous file and keeps the dialog open.
    void exportFile(const QString& proposedName, const QByteArray& bytes);
    // Asks for a file to import and reads it, if it is at most `limit` bytes.
    // Nothing when the choice was cancelled, the file is missing, or it
    // cannot be taken (already told; a file that cannot be read is told in a
    // message box, or in the status line when `unreadableInStatusLine`).
    std::optional<QString> importText(qint64 limit = MaxExchangeFileBytes,
                                      bool unreadableInStatusLine = false);
    // Told in a message box; the dialog stays open with the focus on cancel.
    void refuse(const QString& text);
    void refuseBecause(const QString& why, const QString& text = ImportRefusedText);
    using ColumnPanel::closeDialog;

    QLabel* Label16_12 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QLabel* Label16_0 = nullptr;
    QPushButton* Command23 = nullptr;
    QPushButton* Command24 = nullptr;
    QPushButton* Command7 = nullptr;

signals:
    // An item file was loaded into the diary: the preview bar takes over.
    void itemPreviewStarted(const QString& fileName);
    // A log file was loaded into the diary: the salt list shows it.
    void logPreviewStarted();
    // The date buttons are hidden while the date is an imported file's.
    void dateButtonsShown(bool shown);

private:
    DataFileRequests& document_;
    Dialogs& dialogs_;
    DateBox& date_;
    // Where the last file was chosen in this run; empty: the home folder.
    QString lastFolder_;
    // The name of the item file previewed now.
    QString previewName_;
};

}  // namespace morv
