#pragma once
// The bar over the command column while an imported item-data file is
// previewed: shortcuts to the main commands, and adopt or drop.

#include "app/ColumnPanel.h"
#include "storage/Records.h"

namespace morv {

class PreviewBar : public ColumnPanel {
    Q_OBJECT
public:
    PreviewBar(Diary& diary, MainWindow& window, QWidget* parent);

    // The import has loaded `fileName` into the diary.
    void Begin(const QString& fileName);
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
};

}  // namespace morv
