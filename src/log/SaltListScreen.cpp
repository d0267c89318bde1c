#include "log/SaltListScreen.h"

#include "app/Form1.h"

namespace morv {

SaltListScreen::SaltListScreen(Form1& form, QWidget* parent) : QFrame(parent), form_(form) {
    setObjectName(QStringLiteral("PictureE"));
    setGeometry(0, 0, 985, 673);
    setAutoFillBackground(true);
    hide();
}

void SaltListScreen::Open() {
    form_.ResetStatusLine();
    raise();
    show();
}

}  // namespace morv
