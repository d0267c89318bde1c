#include "app/ColumnPanel.h"

#include "app/Controls.h"
#include "app/Form1.h"
#include "app/core/Twips.h"
#include "grid/WeightPanel.h"

#include <QPushButton>
#include <algorithm>

namespace morv {

ColumnPanel::ColumnPanel(Form1& form, QWidget* parent, const QString& name) : QFrame(parent), form_(form) {
    SetUpPanel(this, name);
    hide();
}

QLabel* ColumnPanel::caption(const char* name, const QString& text, int top) {
    return MakeLabel(this, QLatin1String(name), text, {8, top, 100, 20});
}

QPushButton* ColumnPanel::button(const char* name, const QString& text, int top) {
    return MakeButton(this, QLatin1String(name), text, {8, top, 100, 32});
}

void ColumnPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    coverCommands();
}

void ColumnPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    coverCommands();
}

void ColumnPanel::coverCommands() {
    const QList<ColumnPanel*> panels = parentWidget()->findChildren<ColumnPanel*>(Qt::FindDirectChildrenOnly);
    const bool covered =
        std::any_of(panels.begin(), panels.end(), [](const ColumnPanel* p) { return p->isVisible(); });
    for (QPushButton* command : {form_.Command2, form_.Command3, form_.Command8})
        command->setFocusPolicy(covered ? Qt::NoFocus : Qt::StrongFocus);
}

void ColumnPanel::showOverColumn() {
    move(0, TwipsToPixels(DialogPanelTopTwips));
    raise();
    show();
}

void ColumnPanel::openDialog(QWidget* focus) {
    showOverColumn();
    form_.Picture1->hide();
    form_.Picture7->hide();
    form_.ResetStatusLine();
    focus->setFocus();
}

void ColumnPanel::closeDialog() {
    hide();
    form_.Picture1->show();
    form_.Picture7->show();
}

}  // namespace morv
