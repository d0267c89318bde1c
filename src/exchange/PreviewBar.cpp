#include "exchange/PreviewBar.h"

#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "exchange/core/ExchangeFiles.h"
#include "platform/EscapeKey.h"
#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"
#include "storage/DataFiles.h"
#include "text/DateText.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/DateBox.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

static const QString AdoptQuestionText =
    QStringLiteral("全てのデータを読み込んだファイルの内容で置き換えますか？");

PreviewBar::PreviewBar(DataFileRequests& document, Dialogs& dialogs, StatusLine& status, DateBox& date,
                       const Clock& clock, QWidget* parent)
    : ColumnPanel(status, parent, QStringLiteral("Picture3")),
      document_(document),
      dialogs_(dialogs),
      date_(date),
      clock_(clock) {
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
    connect(Command25, &QPushButton::clicked, this, &PreviewBar::registerRequested);
    connect(Command26, &QPushButton::clicked, this, &PreviewBar::saltListRequested);
    connect(Command27, &QPushButton::clicked, this, &PreviewBar::selectedItemsRequested);
    connect(Command34, &QPushButton::clicked, this, [this] {
        emit exportRequested();
        Command11->setFocus();
    });
    Command11->setAccessibleDescription(keys::Back);
    connect(Command12, &QPushButton::clicked, this, &PreviewBar::Adopt);
    connect(Command11, &QPushButton::clicked, this, &PreviewBar::Drop);
}

void PreviewBar::Begin(const QString& fileName) {
    // The date is the file's while pending; the calendar must not change it.
    date_.HideCalendar();
    showOverColumn();
    Command11->setFocus();
    // With a file name shown the status line keeps its reminder.
    emit previewFileNameChanged(fileName);
    status_.ResetStatusLine();
}

void PreviewBar::Adopt() {
    if (!dialogs_.askYesNo(AdoptQuestionText)) {
        Command11->setFocus();
        return;
    }
    if (!document_.AdoptImport(DataFile::Kiroku)) {
        dialogs_.notice(AdoptFailedText);
        Command11->setFocus();
        return;
    }
    dialogs_.notice(AdoptedText);
    end();
}

void PreviewBar::Drop() {
    if (!document_.diary().ItemImportPending()) return;
    // Kiroku.txt holds the table the import replaced. Should it have become
    // unreadable meanwhile, the copy taken at the import is put back instead:
    // ending the preview must never leave the imported data in its place.
    const bool read = document_.DropImport(DataFile::Kiroku);
    end();
    if (!read) status_.ShowStatus(StorageErrorText);
}

void PreviewBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier)
        return ColumnPanel::keyPressEvent(event);
    PressIfShown(Command11);
}

void PreviewBar::end() {
    date_.SetDateShown(DateText(clock_.today()));
    emit dateButtonsShown(true);
    hide();
    emit previewFileNameChanged(QString());
}

}  // namespace morv
