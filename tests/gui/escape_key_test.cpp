// Escape leaves the panel on top as its own close button would.

#include "SaltListFixture.h"

namespace morv::test {
namespace {

class EscapeKey : public SaltListFixture {
protected:
    static QString focusName() { return focused() ? focused()->objectName() : QStringLiteral("(none)"); }
};

TEST_F(EscapeKey, ClosesThePanelOnTopAsItsButtonDoes) {
    // The buttons clicked to open it, the control Escape is pressed in, what
    // it closes, and the button it stands for (the focus goes where a click on
    // that puts it; none: the focus stays).
    const struct {
        const char *open, *box, *shut, *button;
    } panels[] = {
        {"Command43", "TextEnbunC(20)", "PictureCho", "Command46"},
        {"Command43 Command48", "TextBaiC", "Picture8", "Command49"},
        {"Command13", "TextPAGE2", "PictureH", "Command19"},
        {"Command3", "TextPAGE", "PictureE", "Command14"},
        {"Command3 Command40 Command35", "Text5", "Calendar2", nullptr},
        {"Command8", "Command7", "Picture2", "Command7"},
        {"Command30", "Command33", "Picture4", "Command33"},
        {"Command16", "Text1(0)", "Calendar1", nullptr},
        {"Command8", "TextMoku", "Picture2", nullptr},  // the focus outside the open panel
    };
    for (const auto& p : panels) {
        auto open = [&] {
            start().diary().LoadDailyLog(days(3));
            for (const QString& name : QString(p.open).split(' '))
                find<QAbstractButton>(qPrintable(name))->click();
            find<QWidget>(p.box)->setFocus();
        };
        QString expected;
        if (p.button) {
            open();
            QTest::mouseClick(find<QAbstractButton>(p.button), Qt::LeftButton);
            ASSERT_FALSE(find<QWidget>(p.shut)->isVisible()) << p.shut;
            expected = focusName();
            form.reset();
        }
        open();
        if (!p.button) expected = p.box;
        ASSERT_TRUE(find<QWidget>(p.shut)->isVisible()) << p.shut;
        QTest::keyClick(find<QWidget>(p.box), Qt::Key_Escape);
        EXPECT_FALSE(find<QWidget>(p.shut)->isVisible()) << p.shut;
        EXPECT_EQ(focusName(), expected) << p.shut;
        form.reset();
    }
}

TEST_F(EscapeKey, ReachesAnEmptySaltListFromItsCoveredOpenerButNotOneWaitingForAnImportDecision) {
    Form1& w = start();
    w.Command3()->setFocus();
    w.Command3()->click();  // an empty list leaves the focus on the button
    QTest::keyClick(w.Command3(), Qt::Key_Escape);
    EXPECT_FALSE(screen().isVisible());

    w.diary().BeginLogImport(days(3));
    w.Command3()->click();
    QTest::keyClick(screen().TextPAGE, Qt::Key_Escape);
    EXPECT_TRUE(screen().isVisible());
    EXPECT_TRUE(screen().TextPAGE->hasFocus());
}

}  // namespace
}  // namespace morv::test
