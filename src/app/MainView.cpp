// The main view's controls and the empty overlay panels, in their places.
// Positions are pixels of the 985 x 673 window (15 twips to the pixel).

#include "app/Colours.h"
#include "app/Controls.h"
#include "app/Form1.h"
#include "app/SelectedItemsPanel.h"
#include "app/core/Twips.h"
#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "seasoning/SeasoningPanel.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

QString ArrayName(const char* base, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

void Form1::buildMainView() {
    // Header: the date with its buttons, the day's total, the target, the status.
    Text1_0 = MakeBox(this, QStringLiteral("Text1(0)"), {8, 8, 100, 26});
    Text1_0->setAlignment(Qt::AlignCenter);
    Command9 = MakeButton(this, QStringLiteral("Command9"), QStringLiteral("<"), {111, 8, 26, 26});
    Command16 = MakeButton(this, QStringLiteral("Command16"), QStringLiteral("CL"), {139, 8, 34, 26});
    Command10 = MakeButton(this, QStringLiteral("Command10"), QStringLiteral(">"), {175, 8, 26, 26});

    Label4 = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("塩分合計"), {214, 8, 60, 26},
                       Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbun = MakeLabel(this, QStringLiteral("LabelEnbun"), QString(), {278, 6, 74, 30},
                           Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbun->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabelEnbun->setMargin(4);
    QFont totalFont = LabelEnbun->font();
    totalFont.setPointSize(12);
    totalFont.setBold(true);
    LabelEnbun->setFont(totalFont);
    SetBackground(LabelEnbun, colour::WindowBackground());
    Label5 = MakeLabel(this, QStringLiteral("Label5"), QStringLiteral("グラム"), {356, 8, 40, 26});

    Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("塩分目標"), {402, 8, 60, 26},
                       Qt::AlignVCenter | Qt::AlignRight);
    TextMoku = MakeBox(this, QStringLiteral("TextMoku"), {466, 8, 64, 26});
    TextMoku->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2 = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("グラム"), {534, 8, 40, 26});

    Label3 = MakeLabel(this, QStringLiteral("Label3"), QString(), {584, 3, 396, 18});
    SetTextColour(Label3, colour::Red);
    Label46 = MakeLabel(this, QStringLiteral("Label46"), QString(), {584, 21, 396, 17});

    // Left column: the commands. The dialog panels cover it while they are open.
    Command2 = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("塩分登録"), {8, 52, 104, 32});
    Command2->setToolTip(QStringLiteral("今日の塩分を記録します"));
    Command30 = MakeButton(this, QStringLiteral("Command30"), QStringLiteral("削除"), {8, 90, 104, 32},
                           Qt::ClickFocus);
    Command3 = MakeButton(this, QStringLiteral("Command3"), QStringLiteral("塩分一覧"), {8, 140, 104, 32});
    Command3->setToolTip(QStringLiteral("登録された塩分一覧を表示します"));
    Command13 = MakeButton(this, QStringLiteral("Command13"), QStringLiteral("品名一覧"), {8, 178, 104, 32},
                           Qt::ClickFocus);
    Command13->setToolTip(QStringLiteral("選択された品名と塩分を表示します"));
    Command8 = MakeButton(this, QStringLiteral("Command8"), QStringLiteral("入出力"), {8, 228, 104, 32});
    Command1 = MakeButton(this, QStringLiteral("Command1"), QStringLiteral("終了"), {8, 632, 104, 32});

    // Page column.
    Label6 =
        MakeLabel(this, QStringLiteral("Label6"), QStringLiteral("PAGE"), {116, 48, 80, 18}, Qt::AlignCenter);
    for (int p = 0; p < 10; ++p) {
        CommandP[p] = MakeButton(this, ArrayName("CommandP", p), QStringLiteral("P%1").arg(p + 1),
                                 {124, 68 + 30 * p, 64, 26}, Qt::ClickFocus);
        SetBackground(CommandP[p], colour::White);
    }
    Command47 = MakeButton(this, QStringLiteral("Command47"), QStringLiteral("チェック外す"),
                           {116, 380, 80, 30}, Qt::ClickFocus);
    Command47->setToolTip(QStringLiteral("全項目のチェックを外します"));

    // The item grid: sixteen rows of two lines each.
    for (int r = 0; r < 16; ++r) {
        Pictureb[r] = MakePanel(this, ArrayName("Pictureb", r), {202, 44 + 39 * r, 590, 38});
        Pictureb[r]->setFrameShadow(QFrame::Plain);
    }

    // Right: the weight conversion panel and the seasoning strip.
    Picture1 = new WeightPanel(*this, this);
    Picture1->setGeometry(798, 44, 180, 330);
    Picture7 = new SeasoningStrip(*this, this);
    Picture7->setGeometry(798, 382, 180, 112);
    // The grid reads the carried total to mark the salt box that will receive it.
    LabelEnbunR = Picture7->LabelEnbunR;

    // What a screen reader says for controls whose caption is a sign or is
    // repeated elsewhere.
    Text1_0->setAccessibleName(QStringLiteral("日付"));
    TextMoku->setAccessibleName(QStringLiteral("塩分目標"));
    NameDateButtons(Command9, Command16, Command10);
    for (int p = 0; p < 10; ++p) CommandP[p]->setAccessibleName(QStringLiteral("ページ %1").arg(p + 1));
}

CalendarControl* Form1::buildCalendar1() {
    auto* calendar = new CalendarControl(this, QStringLiteral("Calendar1"), {8, 38, 280, 200});
    calendar->setAccessibleName(QStringLiteral("日付のカレンダー"));
    connect(calendar, &CalendarControl::dayPicked, this, &Form1::onDayPicked);
    return calendar;
}

// The overlays cover the whole window; the dialog panels stand over the
// column of command buttons.
static QRect wholeWindow() {
    return {0, 0, TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips)};
}
static QRect commandColumn() {
    return {0, TwipsToPixels(DialogPanelTopTwips), TwipsToPixels(1740), TwipsToPixels(8850)};
}

template <class Panel>
static Panel* placed(Panel* panel, const QRect& rect) {
    panel->setGeometry(rect);
    return panel;
}

SaltListScreen* Form1::buildPictureE() { return placed(new SaltListScreen(*this, this), wholeWindow()); }
SelectedItemsPanel* Form1::buildPictureH() {
    return placed(new SelectedItemsPanel(*this, this), wholeWindow());
}
SeasoningPanel* Form1::buildPictureCho() {
    auto* panel = placed(new SeasoningPanel(*this, this), wholeWindow());
    panel->ShowSeasoningTable();
    return panel;
}
DataDialog* Form1::buildPicture2() { return placed(new DataDialog(*this, this), commandColumn()); }
PreviewBar* Form1::buildPicture3() { return placed(new PreviewBar(*this, this), commandColumn()); }
DeletionPanel* Form1::buildPicture4() { return placed(new DeletionPanel(*this, this), commandColumn()); }

void Form1::setTabOrder() {
    // Date, target, then (as they are built) the grid rows and the weight boxes,
    // then the commands and the date buttons.
    QList<QWidget*> chain{Text1_0, TextMoku};
    chain += Grid->tabChain();
    chain += Picture1->tabChain();
    chain += {Command2, Command3, Command8, Command1, Command9, Command16, Command10};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) QWidget::setTabOrder(chain[i], chain[i + 1]);
}

}  // namespace morv
