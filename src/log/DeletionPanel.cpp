#include "log/DeletionPanel.h"

#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "platform/EscapeKey.h"
#include "platform/core/Dialogs.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"

#include <QLabel>
#include <QPushButton>

namespace morv {

static const QString DeleteItemsQuestion = QStringLiteral("全てのデータを削除します、よろしいですか？");
static const QString ItemsDeletedText = QStringLiteral("全てのデータを削除しました");
static const QString DeleteLogQuestion = QStringLiteral("塩分一覧のデータを削除します、よろしいですか？");
static const QString LogDeletedText = QStringLiteral("塩分一覧のデータを削除しました");

DeletionPanel::DeletionPanel(DataFileRequests& document, Dialogs& dialogs, StatusLine& status,
                             QWidget* parent)
    : ColumnPanel(status, parent, QStringLiteral("Picture4")), document_(document), dialogs_(dialogs) {
    Label16_1 = caption("Label16(1)", QStringLiteral("データ"), 12);
    Command31 = button("Command31", QStringLiteral("削除"), 34);
    Label16_2 = caption("Label16(2)", QStringLiteral("塩分一覧"), 84);
    Command32 = button("Command32", QStringLiteral("削除"), 106);
    Command33 = button("Command33", QStringLiteral("キャンセル"), 164);
    connect(Command31, &QPushButton::clicked, this, &DeletionPanel::DeleteItems);
    connect(Command32, &QPushButton::clicked, this, &DeletionPanel::DeleteLog);
    connect(Command33, &QPushButton::clicked, this, &DeletionPanel::Cancel);
    CloseOnEscape(this, [this] { PressIfShown(Command33); });
    Command33->setAccessibleDescription(keys::Back);
    // Both buttons say "削除"; the caption above each tells what goes.
    Command31->setAccessibleName(QStringLiteral("データ削除"));
    Command32->setAccessibleName(QStringLiteral("塩分一覧削除"));
}

void DeletionPanel::Open() { openDialog(Command33); }

void DeletionPanel::Cancel() {
    status_.ResetStatusLine();
    closeDialog();
}

bool DeletionPanel::confirmed(const QString& question) {
    status_.ResetStatusLine();
    if (dialogs_.askYesNo(question)) return true;
    Command33->setFocus();
    return false;
}

void DeletionPanel::done(const QString& notice) {
    dialogs_.notice(notice);
    closeDialog();
}

void DeletionPanel::DeleteItems() {
    if (!confirmed(DeleteItemsQuestion)) return;
    if (!document_.DeleteFile(DataFile::Kiroku)) return Command33->setFocus();
    done(ItemsDeletedText);
}

void DeletionPanel::DeleteLog() {
    if (!confirmed(DeleteLogQuestion)) return;
    if (!document_.DeleteFile(DataFile::Enbun)) return Command33->setFocus();
    done(LogDeletedText);
}

}  // namespace morv
