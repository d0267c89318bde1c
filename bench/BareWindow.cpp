// An empty top-level window of the main window's size: what any Qt program
// pays to show a window, the floor of the start-up measures.

#include "ui/Twips.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(morv::TwipsToPixels(morv::WindowWidthTwips),
                        morv::TwipsToPixels(morv::WindowHeightTwips));
    window.show();
    return app.exec();
}
