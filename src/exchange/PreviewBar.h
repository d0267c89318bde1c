#pragma once
// The bar over the command column while an imported item-data file is
// previewed: shortcuts to the main commands, and adopt or drop.

#include "app/ColumnPanel.h"
#include "storage/Records.h"

namespace morv {

class PreviewBar : public ColumnPanel {
    Q_OBJECT
public:
    PreviewBar(Form1& form, QWidget* parent);

    // The import has loaded `fileName`; `saved` is the table it replaced,
    // as Kiroku.txt now holds it (kept from the first import when one comes
    // during the preview).
    void Begin(const QString& fileName, ItemList saved);
    void Adopt();
    void Drop();

    QPushButton* Command25 = nullptr;
    QPushButton* Command26 = nullptr;
    QPushButton* Command27 = nullptr;
    QPushButton* Command34 = nullptr;
    QLabel* Label16_25 = nullptr;
    QLabel* Label16_28 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command11 = nullptr;

private:
    // Back to the normal state on today's date.
    void end();

    ItemList saved_;
};

}  // namespace morv
