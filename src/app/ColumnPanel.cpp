#include "app/ColumnPanel.h"

#include "app/Controls.h"
#include "app/MainWindow.h"
#include "app/core/Twips.h"

#include <QPushButton>
#include <algorithm>

namespace morv {

ColumnPanel::ColumnPanel(Diary& diary, MainWindow& window, QWidget* parent, const QString& name)
    : QFrame(parent), diary_(diary), window_(window) {
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
    window_.CoverCommands(covered);
}

void ColumnPanel::showOverColumn() {
    move(0, TwipsToPixels(DialogPanelTopTwips));
    raise();
    show();
}

void ColumnPanel::openDialog(QWidget* focus) {
    showOverColumn();
    window_.ShowSidePanels(false);
    window_.ResetStatusLine();
    focus->setFocus();
}

void ColumnPanel::closeDialog() {
    hide();
    window_.ShowSidePanels(true);
}

}  // namespace morv
