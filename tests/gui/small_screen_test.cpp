// On a screen too small for the window, its content scrolls: every control
// keeps its place in the 985 x 673 layout and can still be reached.

#include "SaltListFixture.h"

#include "seasoning/SeasoningPanel.h"

#include <QCheckBox>
#include <QScrollArea>
#include <QSet>

namespace morv::test {
namespace {

using SmallScreen = SaltListFixture;

TEST_F(SmallScreen, TheContentScrollsToWhateverTakesTheFocus) {
    Form1& w = start();
    const QRect exitPlace = w.Command1()->geometry();
    w.FitInto(QSize(1280, 1024));
    EXPECT_EQ(w.findChild<QScrollArea*>(), nullptr) << "nothing changes where the window fits";
    EXPECT_EQ(w.size(), QSize(985, 673));

    w.FitInto(QSize(640, 512));  // 1280 x 1024 at scale 2
    auto* scroller = w.findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    EXPECT_LE(w.width(), 640);
    EXPECT_LT(w.height(), 512);
    EXPECT_EQ(scroller->widget()->size(), QSize(985, 673));
    for (QWidget* control : std::initializer_list<QWidget*>{w.Command1(), w.Text1_0(), w.Pictureb()[15]})
        EXPECT_EQ(control->parentWidget(), scroller->widget()) << qPrintable(control->objectName());
    EXPECT_EQ(w.Command1()->geometry(), exitPlace);
    EXPECT_TRUE(w.Text1_0()->hasFocus()) << "the focus stays where it was";

    // "終了" lies beyond the bottom right until Tab brings it into view.
    auto shown = [&](QWidget* control) {
        const QRect onWindow(control->mapTo(&w, QPoint(0, 0)), control->size());
        return scroller->viewport()->geometry().contains(onWindow);
    };
    ASSERT_FALSE(shown(w.Command1()));
    for (int i = 0; i < 8 && !w.Command1()->hasFocus(); ++i) QTest::keyClick(focused(), Qt::Key_Backtab);
    ASSERT_TRUE(w.Command1()->hasFocus());
    EXPECT_TRUE(shown(w.Command1()));

    // The screens still cover the whole layout and close on Escape.
    w.diary().LoadDailyLog(days(3));
    QTest::keyClick(w.Command1(), Qt::Key_Backtab);
    QTest::keyClick(w.Command8(), Qt::Key_Backtab);
    ASSERT_TRUE(w.Command3()->hasFocus());
    QTest::keyClick(w.Command3(), Qt::Key_Space);
    ASSERT_TRUE(screen().isVisible());
    EXPECT_EQ(screen().geometry(), QRect(0, 0, 985, 673));
    EXPECT_EQ(screen().parentWidget(), scroller->widget());
    QTest::keyClick(focused(), Qt::Key_Escape);
    EXPECT_FALSE(screen().isVisible());
}

// At scale 2 every Tab stop of the calculator comes wholly into view (a box
// is more than its text cursor), and a row's tick with its boxes.
TEST_F(SmallScreen, EveryCalculatorTabStopScrollsWhollyIntoView) {
    Form1& w = start();
    w.FitInto(QSize(640, 512));
    auto* scroller = w.findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    auto shown = [&](QWidget* control) {
        const QRect onViewport(control->mapTo(scroller->viewport(), QPoint(0, 0)), control->size());
        return scroller->viewport()->rect().contains(onViewport);
    };
    QTest::keyClick(focused(), Qt::Key_C, Qt::AltModifier);
    SeasoningPanel& calc = *w.PictureCho();
    ASSERT_TRUE(calc.isVisible());
    QSet<QWidget*> seen;
    QStringList partly;
    for (int i = 0; i < 200 && !seen.contains(focused()); ++i) {
        QWidget* now = focused();
        seen.insert(now);
        QList<QWidget*> mustShow{now};
        for (int row = 0; row <= SeasoningPanel::ExtraRow; ++row)
            if (now == calc.TextEnbunC[row] ||
                (row < SeasoningPanel::Rows && (now == calc.TextNameC[row] || now == calc.TextTaniC[row])))
                mustShow.append(calc.CheckC[row]);
        for (QWidget* control : mustShow)
            if (!shown(control)) partly << control->objectName() + " (" + now->objectName() + ")";
        QTest::keyClick(now, Qt::Key_Tab);
    }
    EXPECT_GT(seen.size(), 40);
    EXPECT_TRUE(partly.isEmpty()) << qPrintable(partly.join(", "));
}

}  // namespace
}  // namespace morv::test
