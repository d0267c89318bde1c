// What the window shows again when a data file came in from outside (another
// machine's save, merged or read as it is).

#include "app/Form1.h"
#include "app/SelectedItemsPanel.h"
#include "grid/ItemGrid.h"
#include "log/SaltListScreen.h"
#include "seasoning/SeasoningPanel.h"

#include <QLineEdit>

namespace morv {

void Form1::showReloaded(DataFile file) {
    switch (file) {
        case DataFile::Kiroku:
            ReloadItemPage();
            break;
        case DataFile::Chomi:
            if (SeasoningPanel* panel = PictureCho_.built()) panel->ShowSeasoningTable();
            break;
        case DataFile::Moku:
            // The box's own change handler finds the diary holding it already.
            if (TextMoku_->text() != diary_.SaltTarget()) TextMoku_->setText(diary_.SaltTarget());
            break;
        case DataFile::Enbun:
        case DataFile::Atu:
            break;
    }
    EnbunGoukei();
    // The list's bars follow the log, the target and the shift.
    if (file != DataFile::Kiroku && file != DataFile::Chomi && PictureE_.isVisible()) PictureE_->ShowLogAgain();
}

}  // namespace morv
