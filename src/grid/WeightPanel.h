#pragma once
// The weight conversion panel: a value per 100 grams scaled to the weight of a
// whole package, put into the grid box selected last.

#include <QFrame>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morv {

class DateBox;
class Dialogs;
class SelectedBox;
class StatusLine;
class WaitingValues;

class WeightPanel : public QFrame {
    Q_OBJECT
public:
    // `into` is where a conversion lands; `waiting` hears whether one waits.
    WeightPanel(Dialogs& dialogs, StatusLine& status, DateBox& date, SelectedBox& into,
                WaitingValues& waiting, QWidget* parent);

    void ConvertWeight();
    // Whether either box holds text: the grid then marks a newly selected box.
    bool HasInput() const;
    QList<QWidget*> tabChain() const;

    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* CommandFoods = nullptr;  // 食品成分表から選ぶ…

signals:
    // The food table, for the row being worked on: the panel's own way to a
    // value per 100 grams that the tables already hold.
    void foodTableRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markSelectedArea();

    Dialogs& dialogs_;
    StatusLine& status_;
    DateBox& date_;
    SelectedBox& into_;
    WaitingValues& waiting_;
};

}  // namespace morv
