#include "exchange/DataDialog.h"

#include "app/MainWindow.h"
#include "storage/DataFiles.h"
#include "app/core/Diary.h"
#include "exchange/core/ExchangeFiles.h"
#include "exchange/core/ItemExchange.h"
#include "platform/Dialogs.h"
#include "platform/EscapeKey.h"
#include "storage/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

DataDialog::DataDialog(Diary& diary, MainWindow& window, QWidget* parent)
    : ColumnPanel(diary, window, parent, QStringLiteral("Picture2")) {
    Label16_12 = caption("Label16(12)", QStringLiteral("データ入出力"), 12);
    Command5 = button("Command5", QStringLiteral("ファイル出力"), 34);
    Command6 = button("Command6", QStringLiteral("ファイル入力"), 72);
    Label16_0 = caption("Label16(0)", QStringLiteral("塩分一覧入出力"), 122);
    Command23 = button("Command23", QStringLiteral("ファイル出力"), 144);
    Command24 = button("Command24", QStringLiteral("ファイル入力"), 182);
    Command7 = button("Command7", QStringLiteral("キャンセル"), 240);
    CloseOnEscape(this, [this] { PressIfShown(Command7); });
    // The pairs share their captions; the heading above each tells what moves.
    Command5->setAccessibleName(QStringLiteral("データファイル出力"));
    Command6->setAccessibleName(QStringLiteral("データファイル入力"));
    Command23->setAccessibleName(QStringLiteral("塩分一覧ファイル出力"));
    Command24->setAccessibleName(QStringLiteral("塩分一覧ファイル入力"));
    connect(Command7, &QPushButton::clicked, this, &DataDialog::Cancel);
    connect(Command5, &QPushButton::clicked, this, &DataDialog::ExportItems);
    connect(Command6, &QPushButton::clicked, this, &DataDialog::ImportItems);
    connect(Command23, &QPushButton::clicked, this, [this] { window_.ExportLog(); });
    connect(Command24, &QPushButton::clicked, this, [this] { window_.ImportLog(); });
}

void DataDialog::Open() { openDialog(Command7); }

void DataDialog::Cancel() {
    window_.ResetStatusLine();
    closeDialog();
}

void DataDialog::refuse(const QString& text) {
    window_.dialogs().notice(text);
    Command7->setFocus();
}

void DataDialog::exportFile(const QString& proposedName, const QByteArray& bytes) {
    FileRequest request;
    request.title = SaveDialogTitle;
    request.proposedName = proposedName;
    request.initialFolder = lastFolder_;
    const std::optional<QString> chosen = window_.dialogs().chooseSaveFile(request);
    if (!chosen) {
        diary_.SetExchangeFile({});
        return;
    }
    lastFolder_ = QFileInfo(*chosen).absolutePath();
    diary_.SetExchangeFile(WithTxtExtension(*chosen));
    FileOps& ops = window_.files().ops();
    if (ops.exists(QFile::encodeName(diary_.ExchangeFile())) &&
        !window_.dialogs().askYesNo(OverwriteQuestion(diary_.ExchangeFile()))) {
        Command7->setFocus();
        return;
    }
    if (!ReplaceFileDurably(ops, diary_.ExchangeFile(), bytes)) {
        window_.ShowStatus(ExportFailedText);
        return;
    }
    window_.dialogs().notice(ExportedNotice(diary_.ExchangeFile()));
    closeDialog();
}

std::optional<QString> DataDialog::importText(qint64 limit, bool unreadableInStatusLine) {
    FileRequest request;
    request.title = OpenDialogTitle;
    request.initialFolder = lastFolder_;
    const std::optional<QString> chosen = window_.dialogs().chooseOpenFile(request);
    if (!chosen) {
        diary_.SetExchangeFile({});
        return std::nullopt;
    }
    lastFolder_ = QFileInfo(*chosen).absolutePath();
    diary_.SetExchangeFile(*chosen);
    QString text;
    bool notCp932 = false;
    switch (ReadExchangeFile(diary_.ExchangeFile(), text, limit, &notCp932)) {
        case ExchangeRead::Read:
            return text;
        case ExchangeRead::Missing:
            break;
        case ExchangeRead::Refused:
            // The message is the same for every refusal; the status line says
            // what to change when it is the file's character code.
            if (notCp932) window_.ShowStatus(NotCp932Text);
            refuse(ImportRefusedText);
            break;
        case ExchangeRead::Failed:
            if (unreadableInStatusLine)
                window_.ShowStatus(ImportFailedText);
            else
                refuse(ImportFailedText);
            break;
    }
    return std::nullopt;
}

void DataDialog::ExportItems() {
    window_.ResetStatusLine();
    const QString pending = window_.PreviewFileName();
    const QString proposed =
        pending.isEmpty() ? ProposedExportName(ProgramTitle, window_.DateShown()) : pending;
    exportFile(proposed, ItemExchangeBytes(window_.DateShown(), diary_.ItemTable()));
}

void DataDialog::ImportItems() {
    window_.ResetStatusLine();
    const std::optional<QString> text = importText();
    if (!text) return;
    switch (CheckItemExchange(*text)) {
        case ItemCheck::Accepted:
            break;
        case ItemCheck::Refused:
            return refuse(ImportRefusedText);
        case ItemCheck::Broken:
            return refuse(ImportFailedText);
    }
    // During a preview Kiroku.txt still holds the table from before it, the
    // one a drop goes back to: saving the preview there would lose it.
    if (!diary_.ItemImportPending()) {
        ItemList items = diary_.ItemTable();
        if (window_.files().KirokuFileWrite(items) != 0) return refuse(ImportFailedText);
        diary_.SavedItems(items);
    }

    // The load goes into a copy, so a file that breaks off half-way leaves
    // the table exactly as Kiroku.txt now holds it.
    ItemList loaded = diary_.ItemTable();
    QString date;
    const bool ok = LoadItemExchange(*text, loaded, date);
    if (ok || !diary_.ItemImportPending()) window_.SetDateShown(date);
    if (ok) {
        diary_.BeginItemImport(std::move(loaded));
        window_.ShowDateButtons(false);
    }
    window_.ShowFirstItemPage();
    if (!ok) {
        window_.dialogs().notice(ImportFailedText);
        return;
    }
    closeDialog();
    window_.BeginItemPreview(FileNameOf(diary_.ExchangeFile()));
}

}  // namespace morv
