// Controls that a panel or screen lies over cannot be seen, so the keyboard
// must not reach them either.

#include "SaltListFixture.h"
#include "exchange/PreviewBar.h"

#include <functional>

namespace morv::test {
namespace {

class CoveredControls : public SaltListFixture {
protected:
    // Where Tab and Shift+Tab take the focus, twice round the window.
    QList<QWidget*> tabWalk() {
        QList<QWidget*> seen;
        for (int i = 0; i < 130; ++i) {
            QWidget* at = focused();
            if (!at) break;
            seen << at;
            QTest::keyClick(at, i < 65 ? Qt::Key_Tab : Qt::Key_Backtab,
                            i < 65 ? Qt::NoModifier : Qt::ShiftModifier);
        }
        return seen;
    }
};

TEST_F(CoveredControls, TabPassesOverTheCommandsUnderAColumnPanel) {
    const std::pair<const char*, std::function<void(Form1&)>> panels[] = {
        {"data dialog", [](Form1& w) { w.Command8->click(); }},
        {"deletion panel", [](Form1& w) { w.Command30->click(); }},
        {"preview bar", [](Form1& w) { w.Picture3->Begin("a.TXT", w.ItemTable); }},
    };
    for (const auto& [name, open] : panels) {
        SCOPED_TRACE(name);
        Form1& w = start();
        open(w);
        const QList<QWidget*> seen = tabWalk();
        for (QWidget* covered : {w.Command2, w.Command3, w.Command8}) EXPECT_FALSE(seen.contains(covered));
        form.reset();
    }
    // With the panel closed again the commands are back in the order.
    Form1& w = start();
    w.Command8->click();
    find<QPushButton>("Command7")->click();
    EXPECT_TRUE(tabWalk().contains(w.Command2));
}

TEST_F(CoveredControls, TabFromTheButtonThatOpenedAnEmptySaltListStaysOnTheList) {
    Form1& w = start();
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    ASSERT_TRUE(screen().isVisible());
    ASSERT_EQ(focused(), w.Command3);  // an empty list leaves the focus where it was
    QTest::keyClick(w.Command3, Qt::Key_Tab);
    EXPECT_TRUE(screen().isAncestorOf(focused()));
}

}  // namespace
}  // namespace morv::test
