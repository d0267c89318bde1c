#pragma once
// The weight conversion panel: a value per 100 grams scaled to the weight of a
// whole package, put into the grid box selected last.

#include <QFrame>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morv {

class MainWindow;

class WeightPanel : public QFrame {
    Q_OBJECT
public:
    WeightPanel(MainWindow& window, QWidget* parent);

    void ConvertWeight();
    // Whether either box holds text: the grid then marks a newly selected box.
    bool HasInput() const;
    QList<QWidget*> tabChain() const;

    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QPushButton* Command4 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markSelectedArea();

    MainWindow& window_;
};

}  // namespace morv
