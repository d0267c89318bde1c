#include "grid/WeightPanel.h"

#include "platform/FocusReason.h"
#include "platform/KeyRules.h"
#include "platform/core/Dialogs.h"
#include "text/NumericText.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/DateBox.h"
#include "ui/SelectedBox.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"
#include "ui/WaitingValues.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace morv {

static const QString NotANumberText = QStringLiteral("数字が入力されていません");
static const QString NoAreaText = QStringLiteral("ナトリウムまたは塩分のエリアが選択されていません");

WeightPanel::WeightPanel(Dialogs& dialogs, StatusLine& status, DateBox& date, SelectedBox& into,
                         WaitingValues& waiting, QWidget* parent)
    : QFrame(parent), dialogs_(dialogs), status_(status), date_(date), into_(into), waiting_(waiting) {
    setObjectName(QStringLiteral("Picture1"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    SetBackground(this, colour::ButtonFace());

    // One sentence, top to bottom: "salt or sodium per 100 g is [ ] when the
    // package weighs [ ] g, then the package holds ...".
    int top = 8;
    auto line = [this, &top](const char* name, const QString& text, int height = 20) {
        QLabel* label = MakeLabel(this, QLatin1String(name), text, {12, top, 156, height});
        top += height + 2;
        return label;
    };
    auto box = [this, &top](const char* name, const char* unitName, const QString& unit) {
        QLineEdit* edit = MakeBox(this, QLatin1String(name), {12, top, 80, 24});
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        MakeLabel(this, QLatin1String(unitName), unit, {98, top, 70, 24});
        top += 28;
        return edit;
    };
    line("Label7", QStringLiteral("重量換算"), 22);
    top += 4;
    line("Label8", QStringLiteral("塩分または"));
    line("Label9", QStringLiteral("ナトリウムが"));
    line("Label10", QStringLiteral("１００グラム当たり"));
    Text3 = box("Text3", "Label11", QStringLiteral("のとき"));
    line("Label13", QStringLiteral("パッケージ重量が"));
    Text4 = box("Text4", "Label12", QStringLiteral("グラム"));
    line("Label14", QStringLiteral("ならば"));
    line("Label15", QStringLiteral("パッケージ内の"));
    line("Label17", QStringLiteral("塩分または"));
    line("Label18", QStringLiteral("ナトリウムは"));
    Command4 = MakeButton(this, QStringLiteral("Command4"), QStringLiteral("重量換算"),
                          {12, top + 4, 156, 30}, Qt::ClickFocus);
    connect(Command4, &QPushButton::clicked, this, &WeightPanel::ConvertWeight);
    // Below the panel's sentence and out of the Tab order. A click leaves the
    // focus in the grid box, so the table opens for the row being worked on
    // and the focus comes back there.
    CommandFoods = MakeButton(this, QStringLiteral("CommandFoods"), QStringLiteral("食品成分表から選ぶ…"),
                              {12, top + 36, 156, 22}, Qt::NoFocus);
    CommandFoods->setAccessibleDescription(keys::FoodTable);
    connect(CommandFoods, &QPushButton::clicked, this, &WeightPanel::foodTableRequested);
    Text3->setAccessibleName(QStringLiteral("100グラム当たりの塩分またはナトリウム"));
    Text4->setAccessibleName(QStringLiteral("パッケージ重量"));

    for (QLineEdit* edit : {Text3, Text4}) {
        KeyRule rule;
        rule.chars = KeyRule::Chars::Decimal;
        rule.maxTyped = 6;
        rule.onSecondPoint = [this] { RefuseSecondPoint(dialogs_); };
        InstallKeyRule(edit, rule);
        SelectAllOnFocus(edit);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] {
            waiting_.SetWeightPending(HasInput());
            if (HasInput()) markSelectedArea();
        });
    }
}

bool WeightPanel::HasInput() const { return !Text3->text().isEmpty() || !Text4->text().isEmpty(); }

QList<QWidget*> WeightPanel::tabChain() const { return {Text3, Text4}; }

bool WeightPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == Text3 || watched == Text4) &&
        MovesBetweenControls(static_cast<QFocusEvent*>(event))) {
        status_.ResetStatusLine();
        date_.HideCalendar();
    } else if (event->type() == QEvent::FocusOut && watched == Text4 &&
               LeftByTab(static_cast<QFocusEvent*>(event))) {
        // Tab and Shift+Tab both leave the panel for the date box.
        date_.FocusDateBox(Qt::TabFocusReason);
    }
    return QFrame::eventFilter(watched, event);
}

void WeightPanel::markSelectedArea() { into_.MarkSelectedBox(true); }

void WeightPanel::ConvertWeight() {
    status_.ResetStatusLine();
    date_.HideCalendar();
    const auto perHundred = NumericValue(Text3->text());
    if (!perHundred) {
        dialogs_.notice(NotANumberText);
        Text3->setFocus();
        return;
    }
    const auto weight = NumericValue(Text4->text());
    if (!weight) {
        dialogs_.notice(NotANumberText);
        Text4->setFocus();
        return;
    }
    if (!into_.Selection().sodium && !into_.Selection().salt) {
        dialogs_.notice(NoAreaText);
        Text3->setFocus();
        return;
    }
    const double value = *perHundred * *weight / 100;
    if (!std::isfinite(value)) {
        // Only pasted numbers of hundreds of digits get here; nothing is written.
        dialogs_.notice(NotANumberText);
        Text3->setFocus();
        return;
    }
    const QString result = CutDecimals(NumberText(value), 2);
    Text3->clear();
    Text4->clear();
    into_.PutIntoSelectedBox(result);
}

}  // namespace morv
