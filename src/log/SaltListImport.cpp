// The daily log leaves and comes back: an export to a file of the user's
// choice, and an import shown on the salt list until it is confirmed or
// cancelled.

#include "app/Form1.h"
#include "exchange/DataDialog.h"
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
    form_.ResetStatusLine();
    form_.Picture2->exportFile(DefaultLogFileName(form_.Text1_0->text()), EnbunBytes(form_.DailyLog));
}

void SaltListScreen::ImportLog() {
    form_.ResetStatusLine();
    DataDialog& dialog = *form_.Picture2;
    // A file that cannot be read, or whose fields do not come in fours, is
    // told in the status line; a refused one in a message box.
    const std::optional<QString> text = dialog.importText(MaxLogFileBytes, true);
    if (!text) return;
    LogList imported;
    switch (ReadLogExchange(*text, imported)) {
        case LogCheck::Accepted:
            break;
        case LogCheck::Refused:
            return dialog.refuse(ImportRefusedText);
        case LogCheck::Broken:
            return form_.ShowStatus(ImportFailedText);
    }
    // Enbun.txt keeps the log being replaced: a cancel, or the end of the
    // program before a confirm, reads it back from there.
    if (form_.files().EnbunFileWrite(form_.DailyLog) != 0) return dialog.refuse(ImportFailedText);
    logBeforeImport_ = std::exchange(form_.DailyLog, std::move(imported));
    form_.LogImportPending = true;
    dialog.closeDialog();
    Open();
}

void SaltListScreen::ConfirmImport() {
    if (!form_.LogImportPending) return;
    if (!form_.dialogs().askYesNo(ConfirmImportText)) {
        Command29->setFocus();
        return;
    }
    if (form_.files().EnbunFileWrite(form_.DailyLog) != 0) {
        // The list stays open on the pending import: back on the main view,
        // days registered now would be lost with it when the program ends.
        form_.dialogs().notice(AdoptFailedText);
        Command29->setFocus();
        return;
    }
    form_.dialogs().notice(AdoptedText);
    endImport();
}

void SaltListScreen::CancelImport() {
    if (!form_.LogImportPending) return;
    if (form_.files().EnbunFileRead(form_.DailyLog) != 0) {
        // Whatever happened to Enbun.txt, the imported log must not stay.
        form_.DailyLog = std::move(logBeforeImport_);
        form_.ShowStatus(StorageErrorText);
    }
    endImport();
}

void SaltListScreen::endImport() {
    form_.LogImportPending = false;
    logBeforeImport_ = {};
    Close();
    form_.Text1_0->setFocus();
}

}  // namespace morv
