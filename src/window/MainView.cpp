// The main view's controls and the empty overlay panels, in their places.
// Positions are pixels of the 985 x 673 window (15 twips to the pixel).

#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "seasoning/SeasoningPanel.h"
#include "selected/SelectedItemsPanel.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Twips.h"
#include "window/Form1.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

void Form1::buildMainView() {
    // Header: the date with its buttons, the day's total, the target, the status.
    Text1_0_ = MakeBox(this, QStringLiteral("Text1(0)"), {8, 8, 100, 26});
    Text1_0_->setAlignment(Qt::AlignCenter);
    Command9_ = MakeButton(this, QStringLiteral("Command9"), QStringLiteral("<"), {111, 8, 26, 26});
    Command16_ = MakeButton(this, QStringLiteral("Command16"), QStringLiteral("CL"), {139, 8, 34, 26});
    Command10_ = MakeButton(this, QStringLiteral("Command10"), QStringLiteral(">"), {175, 8, 26, 26});

    Label4_ = MakeLabel(this, QStringLiteral("Label4"), QStringLiteral("塩分合計"), {214, 8, 60, 26},
                        Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbun_ = MakeLabel(this, QStringLiteral("LabelEnbun"), QString(), {278, 6, 74, 30},
                            Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbun_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabelEnbun_->setMargin(4);
    // Larger, not bold: no bold face is drawn on the first screen, so its
    // font file is opened only when a panel first needs it.
    QFont totalFont = LabelEnbun_->font();
    totalFont.setPointSize(12);
    LabelEnbun_->setFont(totalFont);
    SetBackground(LabelEnbun_, colour::WindowBackground());
    Label5_ = MakeLabel(this, QStringLiteral("Label5"), QStringLiteral("グラム"), {356, 8, 40, 26});

    Label1_ = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("塩分目標"), {402, 8, 60, 26},
                        Qt::AlignVCenter | Qt::AlignRight);
    TextMoku_ = MakeBox(this, QStringLiteral("TextMoku"), {466, 8, 64, 26});
    TextMoku_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2_ = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("グラム"), {534, 8, 40, 26});

    Label3_ = MakeLabel(this, QStringLiteral("Label3"), QString(), {584, 3, 396, 18});
    SetTextColour(Label3_, colour::Red);
    Label46_ = MakeLabel(this, QStringLiteral("Label46"), QString(), {584, 21, 396, 17});

    // Left column: the commands. The dialog panels cover it while they are open.
    Command2_ = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("塩分登録"), {8, 52, 104, 32});
    Command2_->setToolTip(QStringLiteral("今日の塩分を記録します"));
    Command30_ = MakeButton(this, QStringLiteral("Command30"), QStringLiteral("削除"), {8, 90, 104, 32},
                            Qt::ClickFocus);
    Command3_ = MakeButton(this, QStringLiteral("Command3"), QStringLiteral("塩分一覧"), {8, 140, 104, 32});
    Command3_->setToolTip(QStringLiteral("登録された塩分一覧を表示します"));
    Command13_ = MakeButton(this, QStringLiteral("Command13"), QStringLiteral("品名一覧"), {8, 178, 104, 32},
                            Qt::ClickFocus);
    Command13_->setToolTip(QStringLiteral("選択された品名と塩分を表示します"));
    Command8_ = MakeButton(this, QStringLiteral("Command8"), QStringLiteral("入出力"), {8, 228, 104, 32});
    Command1_ = MakeButton(this, QStringLiteral("Command1"), QStringLiteral("終了"), {8, 632, 104, 32});

    // Page column.
    Label6_ =
        MakeLabel(this, QStringLiteral("Label6"), QStringLiteral("PAGE"), {116, 48, 80, 18}, Qt::AlignCenter);
    for (int p = 0; p < 10; ++p) {
        CommandP_[p] = MakeButton(this, ArrayName("CommandP", p), QStringLiteral("P%1").arg(p + 1),
                                  {124, 68 + 30 * p, 64, 26}, Qt::ClickFocus);
        SetBackground(CommandP_[p], colour::White);
    }
    Command47_ = MakeButton(this, QStringLiteral("Command47"), QStringLiteral("チェック外す"),
                            {116, 380, 80, 30}, Qt::ClickFocus);
    Command47_->setToolTip(QStringLiteral("全項目のチェックを外します"));

    // The item grid: sixteen rows of two lines each.
    for (int r = 0; r < 16; ++r) {
        Pictureb_[r] = MakePanel(this, ArrayName("Pictureb", r), {202, 44 + 39 * r, 590, 38});
        Pictureb_[r]->setFrameShadow(QFrame::Plain);
    }
    Grid_ = new ItemGrid(diary(), dialogs_, *this, *this, waiting_, Pictureb_, CommandP_, this);

    // Right: the weight conversion panel and the seasoning strip, whose
    // values land in the grid's selected box.
    Picture1_ = new WeightPanel(dialogs_, *this, *this, *Grid_, waiting_, this);
    Picture1_->setGeometry(798, 44, 180, 330);
    Picture7_ = new SeasoningStrip(diary(), dialogs_, *this, *Grid_, waiting_, this);
    Picture7_->setGeometry(798, 382, 180, 112);
    LabelEnbunR_ = Picture7_->LabelEnbunR;

    // What a screen reader says for controls whose caption is a sign or is
    // repeated elsewhere.
    Text1_0_->setAccessibleName(QStringLiteral("日付"));
    TextMoku_->setAccessibleName(QStringLiteral("塩分目標"));
    NameDateButtons(Command9_, Command16_, Command10_);
    for (int p = 0; p < 10; ++p) CommandP_[p]->setAccessibleName(QStringLiteral("ページ %1").arg(p + 1));
}

CalendarControl* Form1::buildCalendar1() {
    auto* calendar = new CalendarControl(host(), QStringLiteral("Calendar1"), {8, 38, 280, 200});
    calendar->setAccessibleName(QStringLiteral("日付のカレンダー"));
    connect(calendar, &CalendarControl::dayPicked, this, &Form1::onDayPicked);
    return calendar;
}

// The overlays cover the whole window; the dialog panels stand over the
// column of command buttons.
void Form1::setTabOrder() {
    // Date, target, then (as they are built) the grid rows and the weight boxes,
    // then the commands and the date buttons.
    QList<QWidget*> chain{Text1_0_, TextMoku_};
    chain += Grid_->tabChain();
    chain += Picture1_->tabChain();
    chain += {Command2_, Command3_, Command8_, Command1_, Command9_, Command16_, Command10_};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i) QWidget::setTabOrder(chain[i], chain[i + 1]);
}

}  // namespace morv
