#include "exchange/DataDialog.h"

#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "exchange/core/ExchangeFiles.h"
#include "exchange/core/ItemExchange.h"
#include "platform/EscapeKey.h"
#include "platform/core/Dialogs.h"
#include "storage/DataFiles.h"
#include "storage/LogExchange.h"
#include "storage/SafeWrite.h"
#include "ui/DateBox.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

DataDialog::DataDialog(DataFileRequests& document, Dialogs& dialogs, StatusLine& status, DateBox& date,
                       QWidget* parent)
    : ColumnPanel(status, parent, QStringLiteral("Picture2")),
      document_(document),
      dialogs_(dialogs),
      date_(date) {
    Label16_12 = caption("Label16(12)", QStringLiteral("データ入出力"), 12);
    Command5 = button("Command5", QStringLiteral("ファイル出力"), 34);
    Command6 = button("Command6", QStringLiteral("ファイル入力"), 72);
    Label16_0 = caption("Label16(0)", QStringLiteral("塩分一覧入出力"), 122);
    Command23 = button("Command23", QStringLiteral("ファイル出力"), 144);
    Command24 = button("Command24", QStringLiteral("ファイル入力"), 182);
    Command7 = button("Command7", QStringLiteral("キャンセル"), 240);
    CloseOnEscape(this, [this] { PressIfShown(Command7); });
    Command7->setAccessibleDescription(keys::Back);
    // The pairs share their captions; the heading above each tells what moves.
    Command5->setAccessibleName(QStringLiteral("データファイル出力"));
    Command6->setAccessibleName(QStringLiteral("データファイル入力"));
    Command23->setAccessibleName(QStringLiteral("塩分一覧ファイル出力"));
    Command24->setAccessibleName(QStringLiteral("塩分一覧ファイル入力"));
    connect(Command7, &QPushButton::clicked, this, &DataDialog::Cancel);
    connect(Command5, &QPushButton::clicked, this, &DataDialog::ExportItems);
    connect(Command6, &QPushButton::clicked, this, &DataDialog::ImportItems);
    connect(Command23, &QPushButton::clicked, this, &DataDialog::ExportLog);
    connect(Command24, &QPushButton::clicked, this, &DataDialog::ImportLog);
}

void DataDialog::Open() { openDialog(Command7); }

void DataDialog::Cancel() {
    status_.ResetStatusLine();
    closeDialog();
}

void DataDialog::refuse(const QString& text) {
    dialogs_.notice(text);
    Command7->setFocus();
}

void DataDialog::refuseBecause(const QString& why, const QString& text) {
    // The message is the same for every refusal; the status line says what
    // to change.
    if (!why.isEmpty()) status_.ShowStatus(why);
    refuse(text);
}

void DataDialog::exportFile(const QString& proposedName, const QByteArray& bytes) {
    FileRequest request;
    request.title = SaveDialogTitle;
    request.proposedName = proposedName;
    request.initialFolder = lastFolder_;
    const std::optional<QString> chosen = dialogs_.chooseSaveFile(request);
    if (!chosen) {
        document_.diary().SetExchangeFile({});
        return;
    }
    lastFolder_ = QFileInfo(*chosen).absolutePath();
    document_.diary().SetExchangeFile(WithTxtExtension(*chosen));
    FileOps& ops = document_.ops();
    if (ops.exists(QFile::encodeName(document_.diary().ExchangeFile())) &&
        !dialogs_.askYesNo(OverwriteQuestion(document_.diary().ExchangeFile()))) {
        Command7->setFocus();
        return;
    }
    if (!ReplaceFileDurably(ops, document_.diary().ExchangeFile(), bytes)) {
        status_.ShowStatus(ExportFailedText);
        return;
    }
    dialogs_.notice(ExportedNotice(document_.diary().ExchangeFile()));
    closeDialog();
}

std::optional<QString> DataDialog::importText(qint64 limit, bool unreadableInStatusLine) {
    FileRequest request;
    request.title = OpenDialogTitle;
    request.initialFolder = lastFolder_;
    const std::optional<QString> chosen = dialogs_.chooseOpenFile(request);
    if (!chosen) {
        document_.diary().SetExchangeFile({});
        return std::nullopt;
    }
    lastFolder_ = QFileInfo(*chosen).absolutePath();
    document_.diary().SetExchangeFile(*chosen);
    QString text;
    QString why;
    switch (ReadExchangeFile(document_.diary().ExchangeFile(), text, limit, &why)) {
        case ExchangeRead::Read:
            return text;
        case ExchangeRead::Missing:
            break;
        case ExchangeRead::Refused:
            refuseBecause(why);
            break;
        case ExchangeRead::Failed:
            if (unreadableInStatusLine)
                status_.ShowStatus(ImportFailedText);
            else
                refuse(ImportFailedText);
            break;
    }
    return std::nullopt;
}

void DataDialog::ExportItems() {
    status_.ResetStatusLine();
    const QString pending = document_.diary().ItemImportPending() ? previewName_ : QString();
    const QString proposed =
        pending.isEmpty() ? ProposedExportName(ProgramTitle, date_.DateShown()) : pending;
    exportFile(proposed, ItemExchangeBytes(date_.DateShown(), document_.diary().ItemTable()));
}

void DataDialog::ImportItems() {
    status_.ResetStatusLine();
    const std::optional<QString> text = importText();
    if (!text) return;
    QString why;
    switch (CheckItemExchange(*text, &why)) {
        case ItemCheck::Accepted:
            break;
        case ItemCheck::Refused:
            return refuseBecause(why);
        case ItemCheck::Broken:
            return refuseBecause(why, ImportFailedText);
    }
    // During a preview Kiroku.txt still holds the table from before it, the
    // one a drop goes back to: saving the preview there would lose it.
    if (!document_.diary().ItemImportPending() && !document_.WriteFile(DataFile::Kiroku))
        return refuse(ImportFailedText);

    // The load goes into a copy, so a file that breaks off half-way leaves
    // the table exactly as Kiroku.txt now holds it.
    ItemList loaded = document_.diary().ItemTable();
    QString date;
    const bool ok = LoadItemExchange(*text, loaded, date);
    if (ok || !document_.diary().ItemImportPending()) date_.SetDateShown(date);
    if (ok) {
        document_.diary().BeginItemImport(std::move(loaded));
        emit dateButtonsShown(false);
    }
    if (!ok) {
        dialogs_.notice(ImportFailedText);
        return;
    }
    closeDialog();
    previewName_ = FileNameOf(document_.diary().ExchangeFile());
    emit itemPreviewStarted(previewName_);
}

void DataDialog::ExportLog() {
    status_.ResetStatusLine();
    exportFile(DefaultLogFileName(date_.DateShown()), EnbunBytes(document_.diary().DailyLog()));
}

void DataDialog::ImportLog() {
    status_.ResetStatusLine();
    // A file that cannot be read, or whose fields do not come in fours, is
    // told in the status line; a refused one in a message box.
    const std::optional<QString> text = importText(MaxLogFileBytes, true);
    if (!text) return;
    LogList imported;
    QString why;
    switch (ReadLogExchange(*text, imported, &why)) {
        case LogCheck::Accepted:
            break;
        case LogCheck::Refused:
            return refuseBecause(why);
        case LogCheck::Broken:
            return status_.ShowStatus(ImportFailedText + QStringLiteral("：") + why);
    }
    // Enbun.txt keeps the log being replaced: a cancel, or the end of the
    // program before a confirm, reads it back from there.
    if (!document_.WriteFile(DataFile::Enbun)) return refuse(ImportFailedText);
    document_.diary().BeginLogImport(std::move(imported));
    closeDialog();
    emit logPreviewStarted();
}

}  // namespace morv
