#pragma once
// The salt-list screen: the daily log twenty days to a page with salt bars, and
// the blood-pressure panels.

#include <QFrame>

namespace morv {

class Form1;

class SaltListScreen : public QFrame {
    Q_OBJECT
public:
    SaltListScreen(Form1& form, QWidget* parent);

    // Opens on the last page with the blood-pressure display off.
    void Open();

private:
    Form1& form_;
};

}  // namespace morv
