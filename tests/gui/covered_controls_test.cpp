// What a panel or screen lies over cannot be seen, so Tab must not reach it.

#include "SaltListFixture.h"
#include "exchange/PreviewBar.h"

namespace morv::test {
namespace {

class CoveredControls : public SaltListFixture {};

TEST_F(CoveredControls, TabPassesOverTheCommandsUnderAColumnPanel) {
    for (int panel = 0; panel < 3; ++panel) {
        Form1& w = start();
        if (panel == 0) w.Command8()->click();
        if (panel == 1) w.Command30()->click();
        if (panel == 2) w.Picture3()->Begin("a.TXT");
        for (int i = 0; i < 130; ++i) {  // round the window both ways
            QTest::keyClick(focused(), i < 65 ? Qt::Key_Tab : Qt::Key_Backtab);
            for (QWidget* covered : {w.Command2(), w.Command3(), w.Command8()})
                ASSERT_NE(focused(), covered) << panel;
        }
        form.reset();
    }
    // Closed again, the panel gives the commands back to Tab.
    Form1& w = start();
    w.Command30()->click();
    find<QPushButton>("Command33")->click();
    for (int i = 0; i < 8 && focused() != w.Command2(); ++i) QTest::keyClick(focused(), Qt::Key_Backtab);
    EXPECT_EQ(focused(), w.Command2());
}

TEST_F(CoveredControls, TabFromTheButtonThatOpenedAnEmptySaltListStaysOnTheList) {
    Form1& w = start();
    QTest::mouseClick(w.Command3(), Qt::LeftButton);
    ASSERT_EQ(focused(), w.Command3());  // an empty list leaves the focus where it was
    QTest::keyClick(w.Command3(), Qt::Key_Tab);
    EXPECT_TRUE(screen().isAncestorOf(focused()));
}

}  // namespace
}  // namespace morv::test
