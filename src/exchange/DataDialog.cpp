#include "exchange/DataDialog.h"

#include "app/Form1.h"
#include "exchange/PreviewBar.h"
#include "exchange/core/ExchangeFiles.h"
#include "exchange/core/ItemExchange.h"
#include "grid/ItemGrid.h"
#include "log/SaltListScreen.h"
#include "platform/Dialogs.h"
#include "platform/EscapeKey.h"
#include "storage/SafeWrite.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

DataDialog::DataDialog(Form1& form, QWidget* parent) : ColumnPanel(form, parent, QStringLiteral("Picture2")) {
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
    connect(Command23, &QPushButton::clicked, this, [this] { form_.PictureE->ExportLog(); });
    connect(Command24, &QPushButton::clicked, this, [this] { form_.PictureE->ImportLog(); });
}

void DataDialog::Open() { openDialog(Command7); }

void DataDialog::Cancel() {
    form_.ResetStatusLine();
    closeDialog();
}

void DataDialog::refuse(const QString& text) {
    form_.dialogs().notice(text);
    Command7->setFocus();
}

void DataDialog::exportFile(const QString& proposedName, const QByteArray& bytes) {
    FileRequest request;
    request.title = SaveDialogTitle;
    request.proposedName = proposedName;
    const std::optional<QString> chosen = form_.dialogs().chooseSaveFile(request);
    if (!chosen) {
        form_.ExchangeFile.clear();
        return;
    }
    form_.ExchangeFile = WithTxtExtension(*chosen);
    FileOps& ops = form_.files().ops();
    if (ops.exists(QFile::encodeName(form_.ExchangeFile)) &&
        !form_.dialogs().askYesNo(OverwriteQuestion(form_.ExchangeFile))) {
        Command7->setFocus();
        return;
    }
    if (!ReplaceFileDurably(ops, form_.ExchangeFile, bytes)) {
        form_.ShowStatus(ExportFailedText);
        return;
    }
    form_.dialogs().notice(ExportedNotice(form_.ExchangeFile));
    closeDialog();
}

std::optional<QString> DataDialog::importText(qint64 limit, bool unreadableInStatusLine) {
    FileRequest request;
    request.title = OpenDialogTitle;
    const std::optional<QString> chosen = form_.dialogs().chooseOpenFile(request);
    if (!chosen) {
        form_.ExchangeFile.clear();
        return std::nullopt;
    }
    form_.ExchangeFile = *chosen;
    QString text;
    switch (ReadExchangeFile(form_.ExchangeFile, text, limit)) {
        case ExchangeRead::Read:
            return text;
        case ExchangeRead::Missing:
            break;
        case ExchangeRead::Refused:
            refuse(ImportRefusedText);
            break;
        case ExchangeRead::Failed:
            if (unreadableInStatusLine)
                form_.ShowStatus(ImportFailedText);
            else
                refuse(ImportFailedText);
            break;
    }
    return std::nullopt;
}

void DataDialog::ExportItems() {
    form_.ResetStatusLine();
    const QString pending = form_.Label46->text();
    const QString proposed =
        pending.isEmpty() ? ProposedExportName(ProgramTitle, form_.Text1_0->text()) : pending;
    exportFile(proposed, ItemExchangeBytes(form_.Text1_0->text(), form_.ItemTable));
}

void DataDialog::ImportItems() {
    form_.ResetStatusLine();
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
    if (!form_.ItemImportPending && form_.files().KirokuFileWrite(form_.ItemTable) != 0)
        return refuse(ImportFailedText);

    // The load goes into a copy, so a file that breaks off half-way leaves
    // the table exactly as Kiroku.txt now holds it.
    ItemList loaded = form_.ItemTable;
    QString date;
    const bool ok = LoadItemExchange(*text, loaded, date);
    if (ok || !form_.ItemImportPending) form_.Text1_0->setText(date);
    if (ok) {
        std::swap(form_.ItemTable, loaded);
        form_.ItemImportPending = true;
        for (QPushButton* dateButton : {form_.Command9, form_.Command10, form_.Command16}) dateButton->hide();
    }
    form_.Grid->ShowItemPage(0);
    form_.Grid->ClearSelection();
    form_.EnbunGoukei();
    if (!ok) {
        form_.dialogs().notice(ImportFailedText);
        return;
    }
    closeDialog();
    form_.Picture3->Begin(FileNameOf(form_.ExchangeFile), std::move(loaded));
}

}  // namespace morv
