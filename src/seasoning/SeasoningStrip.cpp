#include "seasoning/SeasoningStrip.h"

#include "app/Colours.h"
#include "app/Controls.h"
#include "app/Form1.h"
#include "grid/ItemGrid.h"
#include "platform/Dialogs.h"
#include "seasoning/core/SeasoningSums.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace morv {

static const QString NoSaltAreaText = QStringLiteral("塩分のエリアが選択されていません");
static const QString ClearTicksText = QStringLiteral("全てのチェックを外しますか？");

SeasoningStrip::SeasoningStrip(Form1& form, QWidget* parent) : QFrame(parent), form_(form) {
    SetUpPanel(this, QStringLiteral("Picture7"));
    // Reached by the mouse, like the grid's buttons: Tab runs through the boxes and commands.
    Command43 = MakeButton(this, QStringLiteral("Command43"), QStringLiteral("調味料"), {12, 8, 156, 30},
                           Qt::ClickFocus);
    Command44 = MakeButton(this, QStringLiteral("Command44"), QStringLiteral("塩分設定"), {12, 42, 76, 28},
                           Qt::ClickFocus);
    Command51 = MakeButton(this, QStringLiteral("Command51"), QStringLiteral("塩分加算"), {92, 42, 76, 28},
                           Qt::ClickFocus);
    LabelEnbunR = MakeLabel(this, QStringLiteral("LabelEnbunR"), QStringLiteral("0"), {12, 76, 100, 26},
                            Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbunR->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabelEnbunR->setMargin(3);
    LabelEnbunR->setAccessibleName(QStringLiteral("移す調味料の塩分"));
    Label41 = MakeLabel(this, QStringLiteral("Label41"), QStringLiteral("グラム"), {116, 76, 52, 26});

    connect(Command44, &QPushButton::clicked, this, [this] { Transfer(false); });
    connect(Command51, &QPushButton::clicked, this, [this] { Transfer(true); });
    connect(form_.Command47, &QPushButton::clicked, this, &SeasoningStrip::ClearAllTicks);
}

void SeasoningStrip::Transfer(bool add) {
    if (!form_.SaltAreaSelected) {
        form_.dialogs().notice(NoSaltAreaText);
        return;
    }
    const QString carried = LabelEnbunR->text();
    if (carried == u"0") return;
    QLineEdit* box = form_.Grid->TextEnbun[std::clamp(form_.SelectedRow, 0, ItemGrid::Rows - 1)];
    const auto text = add ? CarriedInto(box->text(), carried) : std::optional<QString>(carried);
    if (!text) return;
    // The grid's own change handling stores the text into the item.
    box->setText(*text);
    form_.EnbunGoukei();
    box->setFocus();
    SetBackground(box, colour::White);
    LabelEnbunR->setText(QStringLiteral("0"));
}

void SeasoningStrip::ClearAllTicks() {
    if (!form_.dialogs().askYesNo(ClearTicksText)) {
        form_.Text1_0->setFocus();
        return;
    }
    const size_t end = std::min(form_.ItemTable.size(), static_cast<size_t>(StoredItemCount));
    for (size_t slot = 0; slot < end; ++slot) form_.ItemTable[slot].Checked = QStringLiteral("0");
    ItemGrid& grid = *form_.Grid;
    for (int r = 0; r < ItemGrid::Rows; ++r) {
        // The records are already cleared; the tick's own handler has nothing to add.
        const QSignalBlocker quiet(grid.Check[r]);
        grid.Check[r]->setChecked(false);
        grid.PaintItemRow(r);
    }
    form_.EnbunGoukei();
    grid.PaintPageButtons();
    form_.Text1_0->setFocus();
}

}  // namespace morv
