#pragma once
// A panel over the main view's column of command buttons: the data dialog,
// the deletion dialog and the import preview bar. The two dialogs hide the
// side panels of the main view while they are open.

#include <QFrame>

class QLabel;
class QPushButton;

namespace morv {

class StatusLine;

class ColumnPanel : public QFrame {
    Q_OBJECT
protected:
    // Built hidden, in the button-face colour.
    ColumnPanel(StatusLine& status, QWidget* parent, const QString& name);

    // A heading and a button of the column, `top` pixels from the panel's top.
    QLabel* caption(const char* name, const QString& text, int top);
    QPushButton* button(const char* name, const QString& text, int top);

    // Shows the panel in its place over the commands.
    void showOverColumn();
    // As a dialog: the side panels hide, the status line resets and `focus`
    // takes the focus.
    void openDialog(QWidget* focus);
    // Hides the dialog and gives the main view its side panels back.
    void closeDialog();

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    StatusLine& status_;

signals:
    // Whether any panel covers the command column now: Tab then passes over
    // the buttons under it, which the user cannot see.
    void columnCovered(bool covered);
    // A dialog opened (false) or closed (true): the main view's side panels
    // step aside for it.
    void sidePanelsShown(bool shown);

private:
    void coverCommands();
};

}  // namespace morv
