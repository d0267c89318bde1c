#pragma once
// The deletion dialog over the command column: delete the item data or the
// daily log, or cancel.

#include "app/ColumnPanel.h"

namespace morv {

class DeletionPanel : public ColumnPanel {
    Q_OBJECT
public:
    DeletionPanel(Form1& form, QWidget* parent);

    void Open();
    void Cancel();

    QLabel* Label16_1 = nullptr;
    QPushButton* Command31 = nullptr;
    QLabel* Label16_2 = nullptr;
    QPushButton* Command32 = nullptr;
    QPushButton* Command33 = nullptr;
};

}  // namespace morv
