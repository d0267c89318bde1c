#include "seasoning/SeasoningStrip.h"

#include "diary/Diary.h"
#include "platform/core/Dialogs.h"
#include "seasoning/core/SeasoningSums.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/DateBox.h"
#include "ui/SelectedBox.h"
#include "ui/WaitingValues.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace morv {

static const QString NoSaltAreaText = QStringLiteral("塩分のエリアが選択されていません");
static const QString ClearTicksText = QStringLiteral("全てのチェックを外しますか？");
static const QString CarriedName = QStringLiteral("移す調味料の塩分");

SeasoningStrip::SeasoningStrip(Diary& diary, Dialogs& dialogs, DateBox& date, SelectedBox& into,
                               WaitingValues& waiting, QWidget* parent)
    : QFrame(parent), diary_(diary), dialogs_(dialogs), date_(date), into_(into), waiting_(waiting) {
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
    SpeakAmount(LabelEnbunR, CarriedName);
    Label41 = MakeLabel(this, QStringLiteral("Label41"), QStringLiteral("グラム"), {116, 76, 52, 26});

    connect(Command44, &QPushButton::clicked, this, [this] { Transfer(false); });
    connect(Command51, &QPushButton::clicked, this, [this] { Transfer(true); });
    connect(&waiting_, &WaitingValues::carriedSaltChanged, this, &SeasoningStrip::showCarried);
}

void SeasoningStrip::Transfer(bool add) {
    if (!into_.Selection().salt) {
        dialogs_.notice(NoSaltAreaText);
        return;
    }
    const QString carried = waiting_.CarriedSalt();
    if (carried == u"0") return;
    const auto text = add ? CarriedInto(into_.SelectedBoxText(), carried) : std::optional<QString>(carried);
    if (!text) return;
    into_.PutIntoSelectedBox(*text);
    waiting_.SetCarriedSalt(QStringLiteral("0"));
}

void SeasoningStrip::showCarried(const QString& salt) {
    LabelEnbunR->setText(salt);
    SpeakAmount(LabelEnbunR, CarriedName);
}

void SeasoningStrip::ClearAllTicks() {
    if (!dialogs_.askYesNo(ClearTicksText)) {
        date_.FocusDateBox();
        return;
    }
    diary_.ClearAllTicks();
    date_.FocusDateBox();
}

}  // namespace morv
