// A daily log imported by the data dialog, shown on the salt list until it
// is confirmed or cancelled.

#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "exchange/core/ExchangeFiles.h"
#include "log/SaltListScreen.h"
#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"
#include "storage/DataFiles.h"
#include "ui/DateBox.h"
#include "ui/StatusLine.h"

#include <QLineEdit>
#include <QPushButton>
#include <utility>

namespace morv {

static const QString ConfirmImportText =
    QStringLiteral("塩分のデータを読み込んだファイルの内容で置き換えますか？");

void SaltListScreen::ConfirmImport() {
    if (!diary_.LogImportPending()) return;
    if (!dialogs_.askYesNo(ConfirmImportText)) {
        Command29->setFocus();
        return;
    }
    if (!document_.AdoptImport(DataFile::Enbun)) {
        // The list stays open on the pending import: back on the main view,
        // days registered now would be lost with it when the program ends.
        dialogs_.notice(AdoptFailedText);
        Command29->setFocus();
        return;
    }
    dialogs_.notice(AdoptedText);
    endImport();
}

void SaltListScreen::CancelImport() {
    if (!diary_.LogImportPending()) return;
    if (!document_.DropImport(DataFile::Enbun)) status_.ShowStatus(StorageErrorText);
    endImport();
}

void SaltListScreen::endImport() {
    Close();
    date_.FocusDateBox();
}

}  // namespace morv
