// What the panels ask of the window (MainWindow): each request is carried out
// on the window's own controls or handed to the panel that owns the step.

#include "app/Colours.h"
#include "app/Form1.h"
#include "app/SelectedItemsPanel.h"
#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "seasoning/SeasoningStrip.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

int Form1::ItemPage() const { return Grid_->ItemPage(); }

QString Form1::DateShown() const { return Text1_0_->text(); }
void Form1::SetDateShown(const QString& date) { Text1_0_->setText(date); }
void Form1::FocusDateBox(Qt::FocusReason reason) { Text1_0_->setFocus(reason); }
void Form1::HideCalendar() { Calendar1_.hide(); }

void Form1::ShowFirstItemPage() {
    Grid_->ShowItemPage(0);
    Grid_->ClearSelection();
    EnbunGoukei();
}

void Form1::ReloadItemPage() { Grid_->ShowItemPage(Grid_->ItemPage()); }
GridSelection Form1::Selection() const { return Grid_->Selection(); }
void Form1::PutIntoSelectedBox(const QString& text) { Grid_->PutIntoSelectedBox(text); }
QString Form1::SelectedBoxText() const { return Grid_->SelectedBoxText(); }
void Form1::MarkSelectedBox(bool marked) { Grid_->MarkSelectedBox(marked); }
bool Form1::WeightPending() const { return Picture1_->HasInput(); }
QString Form1::CarriedSalt() const { return LabelEnbunR_->text(); }
void Form1::SetCarriedSalt(const QString& salt) { Picture7_->SetCarried(salt); }
void Form1::FocusSeasoningButton() { Picture7_->Command43->setFocus(); }

void Form1::ShowSidePanels(bool shown) {
    Picture1_->setVisible(shown);
    Picture7_->setVisible(shown);
}

void Form1::CoverCommands(bool covered) {
    for (QPushButton* command : {Command2_, Command3_, Command8_})
        command->setFocusPolicy(covered ? Qt::NoFocus : Qt::StrongFocus);
}

void Form1::Register() { Command2_->click(); }
void Form1::OpenSaltList() { Command3_->click(); }
void Form1::OpenSelectedItems() { Command13_->click(); }

void Form1::FocusSelectedItemsButton() {
    // The preview bar's own button while the bar covers the main commands.
    (Picture3_.isVisible() ? Picture3_->Command27 : Command13_)->setFocus();
}

QString Form1::PreviewFileName() const { return Label46_->text(); }

void Form1::ShowPreviewFileName(const QString& name) {
    SetTextColour(Label3_, colour::Red);
    SetTextColour(Label46_, colour::Red);
    Label46_->setText(name);
    if (name.isEmpty()) Label3_->clear();
}

void Form1::ShowDateButtons(bool shown) {
    for (QPushButton* dateButton : {Command9_, Command10_, Command16_}) dateButton->setVisible(shown);
}

void Form1::BeginItemPreview(const QString& fileName) {
    Picture3_->Begin(fileName);
    // The full-window screens its shortcuts open must cover it.
    Picture3_->stackUnder(PictureE_.get());
}

void Form1::ExportItems() { Picture2_->ExportItems(); }
void Form1::ExportLog() { PictureE_->ExportLog(); }
void Form1::ImportLog() { PictureE_->ImportLog(); }

void Form1::ExportFile(const QString& proposedName, const QByteArray& bytes) {
    Picture2_->exportFile(proposedName, bytes);
}

std::optional<QString> Form1::ImportText(qint64 limit, bool unreadableInStatusLine) {
    return Picture2_->importText(limit, unreadableInStatusLine);
}

void Form1::RefuseImport(const QString& text) { Picture2_->refuse(text); }
void Form1::CloseDataDialog() { Picture2_->closeDialog(); }

}  // namespace morv
