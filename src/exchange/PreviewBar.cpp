#include "exchange/PreviewBar.h"

#include "app/Colours.h"
#include "app/Controls.h"
#include "app/Form1.h"
#include "exchange/DataDialog.h"
#include "exchange/core/ExchangeFiles.h"
#include "grid/ItemGrid.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "text/DateText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

static const QString AdoptQuestionText =
    QStringLiteral("全てのデータを読み込んだファイルの内容で置き換えますか？");

PreviewBar::PreviewBar(Form1& form, QWidget* parent) : ColumnPanel(form, parent, QStringLiteral("Picture3")) {
    auto note = [this](const char* name, const QString& text, int top) {
        QLabel* label = MakeLabel(this, QLatin1String(name), text, {6, top, 106, 36});
        label->setWordWrap(true);
        SetTextColour(label, colour::Red);
        return label;
    };
    Command25 = button("Command25", QStringLiteral("塩分登録"), 12);
    Command26 = button("Command26", QStringLiteral("塩分一覧"), 62);
    Command27 = button("Command27", QStringLiteral("品名一覧"), 100);
    Command34 = button("Command34", QStringLiteral("ファイル出力"), 150);
    Label16_25 = note("Label16(25)", QStringLiteral("データを上書きする場合　"), 200);
    Label16_28 = note("Label16(28)", QStringLiteral("下のボタンを押して下さい　　"), 236);
    Command12 = button("Command12", QStringLiteral("上書き"), 280);
    Command11 = button("Command11", QStringLiteral("キャンセル"), 318);

    // The shortcuts do exactly what the covered main commands do.
    connect(Command25, &QPushButton::clicked, form_.Command2, &QPushButton::click);
    connect(Command26, &QPushButton::clicked, form_.Command3, &QPushButton::click);
    connect(Command27, &QPushButton::clicked, form_.Command13, &QPushButton::click);
    connect(Command34, &QPushButton::clicked, this, [this] {
        form_.Picture2->ExportItems();
        Command11->setFocus();
    });
    connect(Command12, &QPushButton::clicked, this, &PreviewBar::Adopt);
    connect(Command11, &QPushButton::clicked, this, &PreviewBar::Drop);
}

void PreviewBar::Begin(const QString& fileName, ItemList saved) {
    // A file imported over a preview: the table to go back to is still the
    // one from before the first.
    if (saved_.empty()) saved_ = std::move(saved);
    // The date is the file's while pending; the calendar must not change it.
    form_.Calendar1.hide();
    showOverColumn();
    // The full-window screens its shortcuts open must cover it.
    stackUnder(form_.PictureE.get());
    Command11->setFocus();
    SetTextColour(form_.Label3, colour::Red);
    SetTextColour(form_.Label46, colour::Red);
    // With a file name in Label46 the status line keeps its reminder.
    form_.Label46->setText(fileName);
    form_.ResetStatusLine();
}

void PreviewBar::Adopt() {
    if (!form_.dialogs().askYesNo(AdoptQuestionText)) {
        Command11->setFocus();
        return;
    }
    if (form_.files().KirokuFileWrite(form_.ItemTable) != 0) {
        form_.dialogs().notice(AdoptFailedText);
        Command11->setFocus();
        return;
    }
    form_.dialogs().notice(AdoptedText);
    end();
}

void PreviewBar::Drop() {
    if (!form_.ItemImportPending) return;
    // Kiroku.txt holds the table the import replaced. Should it have become
    // unreadable meanwhile, the copy taken at the import is put back instead:
    // ending the preview must never leave the imported data in its place.
    const bool read = form_.files().KirokuFileRead(form_.ItemTable) == 0;
    if (!read) form_.ItemTable = saved_;
    form_.Grid->ShowItemPage(0);
    form_.Grid->ClearSelection();
    form_.EnbunGoukei();
    end();
    if (!read) form_.ShowStatus(StorageErrorText);
}

void PreviewBar::end() {
    form_.Text1_0->setText(DateText(form_.clock().today()));
    for (QPushButton* dateButton : {form_.Command9, form_.Command10, form_.Command16}) dateButton->show();
    hide();
    form_.Label3->clear();
    form_.Label46->clear();
    form_.ItemImportPending = false;
    saved_.clear();
}

}  // namespace morv
