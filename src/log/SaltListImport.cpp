// The daily log leaves and comes back: an export to a file of the user's
// choice, and an import shown on the salt list until it is confirmed or
// cancelled.

#include "app/MainWindow.h"
#include "app/core/Diary.h"
#include "app/core/ImportSteps.h"
#include "storage/DataFiles.h"
#include "exchange/core/ExchangeFiles.h"
#include "log/SaltListScreen.h"
#include "log/core/LogExchange.h"
#include "platform/Dialogs.h"

#include <QLineEdit>
#include <QPushButton>
#include <utility>

namespace morv {

static const QString ConfirmImportText =
    QStringLiteral("塩分のデータを読み込んだファイルの内容で置き換えますか？");

void SaltListScreen::ExportLog() {
    window_.ResetStatusLine();
    window_.ExportFile(DefaultLogFileName(window_.DateShown()), EnbunBytes(diary_.DailyLog()));
}

void SaltListScreen::ImportLog() {
    window_.ResetStatusLine();
    // A file that cannot be read, or whose fields do not come in fours, is
    // told in the status line; a refused one in a message box.
    const std::optional<QString> text = window_.ImportText(MaxLogFileBytes, true);
    if (!text) return;
    LogList imported;
    switch (ReadLogExchange(*text, imported)) {
        case LogCheck::Accepted:
            break;
        case LogCheck::Refused:
            return window_.RefuseImport(ImportRefusedText);
        case LogCheck::Broken:
            return window_.ShowStatus(ImportFailedText);
    }
    // Enbun.txt keeps the log being replaced: a cancel, or the end of the
    // program before a confirm, reads it back from there.
    if (window_.files().EnbunFileWrite(diary_.DailyLog()) != 0) return window_.RefuseImport(ImportFailedText);
    diary_.Saved(DataFile::Enbun);
    diary_.BeginLogImport(std::move(imported));
    window_.CloseDataDialog();
    Open();
}

void SaltListScreen::ConfirmImport() {
    if (!diary_.LogImportPending()) return;
    if (!window_.dialogs().askYesNo(ConfirmImportText)) {
        Command29->setFocus();
        return;
    }
    if (!AdoptImport(diary_, window_.files(), DataFile::Enbun)) {
        // The list stays open on the pending import: back on the main view,
        // days registered now would be lost with it when the program ends.
        window_.dialogs().notice(AdoptFailedText);
        Command29->setFocus();
        return;
    }
    window_.dialogs().notice(AdoptedText);
    endImport();
}

void SaltListScreen::CancelImport() {
    if (!diary_.LogImportPending()) return;
    if (!DropImport(diary_, window_.files(), DataFile::Enbun)) window_.ShowStatus(StorageErrorText);
    endImport();
}

void SaltListScreen::endImport() {
    Close();
    window_.FocusDateBox();
}

}  // namespace morv
