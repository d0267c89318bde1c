#include "log/DeletionPanel.h"

#include "app/Colours.h"
#include "app/Controls.h"
#include "app/Form1.h"
#include "app/core/Twips.h"
#include "grid/WeightPanel.h"
#include "platform/CalendarControl.h"

#include <QLabel>
#include <QPushButton>

namespace morv {

DeletionPanel::DeletionPanel(Form1& form, QWidget* parent) : QFrame(parent), form_(form) {
    setObjectName(QStringLiteral("Picture4"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    SetBackground(this, colour::ButtonFace());
    auto caption = [this](const char* name, const QString& text, int top) {
        return MakeLabel(this, QLatin1String(name), text, {8, top, 100, 20});
    };
    auto button = [this](const char* name, const QString& text, int top) {
        return MakeButton(this, QLatin1String(name), text, {8, top, 100, 32});
    };
    Label16_1 = caption("Label16(1)", QStringLiteral("データ"), 12);
    Command31 = button("Command31", QStringLiteral("削除"), 34);
    Label16_2 = caption("Label16(2)", QStringLiteral("塩分一覧"), 84);
    Command32 = button("Command32", QStringLiteral("削除"), 106);
    Command33 = button("Command33", QStringLiteral("キャンセル"), 164);
    connect(Command33, &QPushButton::clicked, this, &DeletionPanel::Cancel);
    // Both buttons say "削除"; the caption above each tells what goes.
    Command31->setAccessibleName(QStringLiteral("データ削除"));
    Command32->setAccessibleName(QStringLiteral("塩分一覧削除"));
    hide();
}

void DeletionPanel::Open() {
    move(0, TwipsToPixels(DialogPanelTopTwips));
    raise();
    show();
    form_.Picture1->hide();
    form_.Picture7->hide();
    form_.ResetStatusLine();
    Command33->setFocus();
}

void DeletionPanel::Cancel() {
    form_.ResetStatusLine();
    hide();
    form_.Picture1->show();
    form_.Picture7->show();
}

}  // namespace morv
