#pragma once
// The bar over the command column while an imported item-data file is
// previewed: shortcuts to the main commands, and adopt or drop.

#include "storage/Records.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace morv {

class Form1;

class PreviewBar : public QFrame {
    Q_OBJECT
public:
    PreviewBar(Form1& form, QWidget* parent);

    // The import has loaded `fileName`; `saved` is the table it replaced,
    // as Kiroku.txt now holds it.
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

    Form1& form_;
    ItemList saved_;
};

}  // namespace morv
