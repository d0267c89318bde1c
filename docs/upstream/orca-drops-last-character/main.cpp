// Orca 43 with Qt 6.4 speaks the value of a focused QLineEdit without its last
// character: "1.5" for 1.52. Two boxes, nothing else; the first has the focus
// at start, Tab moves to the second. Run it under Orca and listen, or read
// Orca's debug log (see README.md).
//
// With --probe it prints what Qt's accessibility interface answers for the
// line at the caret, the question behind Orca's "current line" on focus.

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("orca-last-character");
    auto* layout = new QVBoxLayout(&window);
    auto* amount = new QLineEdit("1.52", &window);
    amount->setAccessibleName("amount");
    auto* date = new QLineEdit("2026/12/08", &window);
    date->setAccessibleName("date");
    layout->addWidget(amount);
    layout->addWidget(date);
    window.show();
    amount->setFocus();

    if (argc > 1 && std::strcmp(argv[1], "--probe") == 0) {
        for (QLineEdit* box : {amount, date}) {
            box->setFocus();
            box->selectAll();  // as a box selects its text when Tab enters it
            QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(box)->textInterface();
            const int caret = text->cursorPosition();
            int start = 0, end = 0;
            const QString line = text->textAtOffset(caret, QAccessible::LineBoundary, &start, &end);
            std::printf("%s: text '%s', caret %d, line at caret '%s' (%d-%d)\n",
                        qPrintable(box->accessibleName()), qPrintable(box->text()), caret, qPrintable(line),
                        start, end);
        }
        return 0;
    }
    return app.exec();
}
