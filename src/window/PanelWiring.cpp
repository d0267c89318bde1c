// The window's side of the panels: the date box they may use, and their
// requests upward, each wired here once.

#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "foods/FoodTableWindow.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "platform/ReturnFocus.h"
#include "seasoning/SeasoningPanel.h"
#include "selected/SelectedItemsPanel.h"
#include "ui/Colours.h"
#include "ui/Twips.h"
#include "window/Form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

int Form1::ItemPage() const { return Grid_->ItemPage(); }
bool Form1::SodiumAreaSelected() const { return Grid_->Selection().sodium; }
bool Form1::SaltAreaSelected() const { return Grid_->Selection().salt; }
int Form1::SelectedRow() const { return Grid_->Selection().row; }

QString Form1::DateShown() const { return Text1_0_->text(); }
void Form1::SetDateShown(const QString& date) { Text1_0_->setText(date); }
void Form1::FocusDateBox(Qt::FocusReason reason) { Text1_0_->setFocus(reason); }
void Form1::HideCalendar() { Calendar1_.hide(); }

void Form1::showSidePanels(bool shown) {
    Picture1_->setVisible(shown);
    Picture7_->setVisible(shown);
}

void Form1::coverCommands(bool covered) {
    for (QPushButton* command : {Command2_, Command3_, Command8_})
        command->setFocusPolicy(covered ? Qt::NoFocus : Qt::StrongFocus);
}

void Form1::showPreviewFileName(const QString& name) {
    SetTextColour(Label3_, colour::Red);
    SetTextColour(Label46_, colour::Red);
    Label46_->setText(name);
    if (name.isEmpty()) Label3_->clear();
}

void Form1::showDateButtons(bool shown) {
    for (QPushButton* dateButton : {Command9_, Command10_, Command16_}) dateButton->setVisible(shown);
}

void Form1::beginItemPreview(const QString& fileName) {
    Picture3_->Begin(fileName);
    // The full-window screens its shortcuts open must cover it.
    Picture3_->stackUnder(PictureE_.get());
}

// ---- Built on first use, wired as they are built ----

namespace {

QRect wholeWindow() { return {0, 0, TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips)}; }
QRect commandColumn() {
    return {0, TwipsToPixels(DialogPanelTopTwips), TwipsToPixels(1740), TwipsToPixels(8850)};
}

template <class Panel>
Panel* placed(Panel* panel, const QRect& rect) {
    panel->setGeometry(rect);
    return panel;
}

}  // namespace

// A panel that closes gives the focus back to whatever opened it (a button,
// or the box the user was in when a key opened it), else to the date box.
template <class Panel>
Panel* returningFocus(Panel* panel, QWidget* fallback) {
    ReturnFocusOnHide(panel, [fallback] { return fallback; });
    return panel;
}

SaltListScreen* Form1::buildPictureE() {
    return returningFocus(
        placed(new SaltListScreen(document_, dialogs_, *this, *this, clock_, host()), wholeWindow()),
        Text1_0_);
}

SelectedItemsPanel* Form1::buildPictureH() {
    auto* panel = placed(new SelectedItemsPanel(diary(), *this, host()), wholeWindow());
    // Where it was opened from; else its button, the preview bar's own one
    // while the bar covers the main commands.
    ReturnFocusOnHide(panel, [this]() -> QWidget* {
        return Picture3_.isVisible() ? Picture3_->Command27 : static_cast<QWidget*>(Command13_);
    });
    return panel;
}

SeasoningPanel* Form1::buildPictureCho() {
    return returningFocus(
        placed(new SeasoningPanel(diary(), dialogs_, *this, *this, *Grid_, waiting_, host()), wholeWindow()),
        Picture7_->Command43);
}

DataDialog* Form1::buildPicture2() {
    auto* panel = returningFocus(
        placed(new DataDialog(document_, dialogs_, *this, *this, host()), commandColumn()), Text1_0_);
    wireColumnPanel(panel);
    connect(panel, &DataDialog::itemPreviewStarted, this, &Form1::beginItemPreview);
    connect(panel, &DataDialog::logPreviewStarted, this, [this] { PictureE_->Open(); });
    connect(panel, &DataDialog::dateButtonsShown, this, &Form1::showDateButtons);
    return panel;
}

PreviewBar* Form1::buildPicture3() {
    auto* panel = returningFocus(
        placed(new PreviewBar(document_, dialogs_, *this, *this, clock_, host()), commandColumn()), Text1_0_);
    wireColumnPanel(panel);
    // Its shortcuts do what the main commands it covers do.
    connect(panel, &PreviewBar::registerRequested, this, &Form1::onRegister);
    connect(panel, &PreviewBar::saltListRequested, this, [this] { PictureE_->Open(); });
    connect(panel, &PreviewBar::selectedItemsRequested, this, [this] { PictureH_->Open(); });
    connect(panel, &PreviewBar::exportRequested, this, [this] { Picture2_->ExportItems(); });
    connect(panel, &PreviewBar::previewFileNameChanged, this, &Form1::showPreviewFileName);
    connect(panel, &PreviewBar::dateButtonsShown, this, &Form1::showDateButtons);
    return panel;
}

DeletionPanel* Form1::buildPicture4() {
    auto* panel = returningFocus(
        placed(new DeletionPanel(document_, dialogs_, *this, host()), commandColumn()), Text1_0_);
    wireColumnPanel(panel);
    return panel;
}

FoodTableWindow* Form1::buildFoodTable() {
    auto* window = new FoodTableWindow(dialogs_, this);
    window->setObjectName(QStringLiteral("FoodTable"));
    // One change through the diary: the row, the total, the colours and the
    // selected-items list follow it, and it is saved as every other edit is.
    connect(window, &FoodTableWindow::fillRow, this,
            [this](int slot, const ItemRecord& record) { diary().SetItem(slot, record); });
    return window;
}

void Form1::OpenFoodTable(int slot) {
    if (slot < 0 || slot >= StoredItemCount) return;
    FoodTable_->openForRow(slot, diary().ItemTable()[static_cast<size_t>(slot)]);
}

void Form1::wireColumnPanel(ColumnPanel* panel) {
    connect(panel, &ColumnPanel::columnCovered, this, &Form1::coverCommands);
    connect(panel, &ColumnPanel::sidePanelsShown, this, &Form1::showSidePanels);
}

}  // namespace morv
