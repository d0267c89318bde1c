#include "ui/ColumnPanel.h"

#include "ui/Controls.h"
#include "ui/StatusLine.h"
#include "ui/Twips.h"

#include <QPushButton>
#include <algorithm>

namespace morv {

ColumnPanel::ColumnPanel(StatusLine& status, QWidget* parent, const QString& name)
    : QFrame(parent), status_(status) {
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
    emit columnCovered(covered);
}

void ColumnPanel::showOverColumn() {
    move(0, TwipsToPixels(DialogPanelTopTwips));
    raise();
    show();
}

void ColumnPanel::openDialog(QWidget* focus) {
    showOverColumn();
    emit sidePanelsShown(false);
    status_.ResetStatusLine();
    focus->setFocus();
}

void ColumnPanel::closeDialog() {
    hide();
    emit sidePanelsShown(true);
}

}  // namespace morv
