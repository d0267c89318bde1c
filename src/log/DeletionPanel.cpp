#include "log/DeletionPanel.h"

#include "app/Form1.h"

#include <QLabel>
#include <QPushButton>

namespace morv {

DeletionPanel::DeletionPanel(Form1& form, QWidget* parent)
    : ColumnPanel(form, parent, QStringLiteral("Picture4")) {
    Label16_1 = caption("Label16(1)", QStringLiteral("データ"), 12);
    Command31 = button("Command31", QStringLiteral("削除"), 34);
    Label16_2 = caption("Label16(2)", QStringLiteral("塩分一覧"), 84);
    Command32 = button("Command32", QStringLiteral("削除"), 106);
    Command33 = button("Command33", QStringLiteral("キャンセル"), 164);
    connect(Command33, &QPushButton::clicked, this, &DeletionPanel::Cancel);
    // Both buttons say "削除"; the caption above each tells what goes.
    Command31->setAccessibleName(QStringLiteral("データ削除"));
    Command32->setAccessibleName(QStringLiteral("塩分一覧削除"));
}

void DeletionPanel::Open() { openDialog(Command33); }

void DeletionPanel::Cancel() {
    form_.ResetStatusLine();
    closeDialog();
}

}  // namespace morv
