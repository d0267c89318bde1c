#pragma once
// The main window with helpers for driving the item grid's rows as a user does.

#include "MainWindowFixture.h"
#include "grid/ItemGrid.h"
#include "text/Cp932.h"
#include "ui/Colours.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv::test {

class GridFixture : public MainWindowFixture {
protected:
    ItemGrid& grid() { return *form->Grid(); }

    // Kiroku.txt from records given as {checked, name, sodium, salt}.
    void records(std::initializer_list<std::array<const char16_t*, 4>> lines) {
        QString text;
        for (const auto& fields : lines) {
            QStringList quoted;
            for (const char16_t* field : fields) quoted << u'"' + QString::fromUtf16(field) + u'"';
            text += quoted.join(u',') + QStringLiteral("\r\n");
        }
        put("Kiroku.txt", EncodeCp932(text));
    }

    void page(int p) { QTest::mouseClick(form->CommandP()[p], Qt::LeftButton); }
    void tick(int row) { QTest::mouseClick(grid().Check[row], Qt::LeftButton); }
    // Focuses a box as a click does and types into it; the focus selects the
    // whole text, so typing replaces it.
    void type(QLineEdit* box, const QString& text) {
        QTest::mouseClick(box, Qt::LeftButton);
        QApplication::processEvents();
        QTest::keyClicks(box, text);
    }
    void enter(QLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }

    QString hint() const {
        return QStringLiteral("チェック済の項目の塩分を入力した場合、エンターキーを押して下さい");
    }
};

}  // namespace morv::test
