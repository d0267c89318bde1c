// A panel closed by keys leaves the focus on the control that opened it (or
// where the panel puts it on purpose), never on a hidden control that Tab and
// Escape cannot leave.

#include <QAccessible>
#include "Fakes.h"
#include "SaltListFixture.h"
#include "foods/FoodTableWindow.h"
#include "log/ReportPanel.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"

namespace morv::test {
namespace {

class FocusReturn : public SaltListFixture {
protected:
    static void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        ASSERT_NE(focused(), nullptr);
        QTest::keyClick(focused(), Qt::Key(k), mods);
    }
    static QString focusName() { return focused() ? focused()->objectName() : QStringLiteral("(none)"); }
};

TEST_F(FocusReturn, EveryPanelClosedByKeysGivesTheFocusBack) {
    // Where the focus is and the keys that open the panel; the keys that close
    // it; where the focus must be afterwards.
    const struct {
        const char* panel;
        const char* from;
        std::vector<std::pair<int, Qt::KeyboardModifiers>> open, close;
        const char* back;
    } cases[] = {
        {"ReportPanel",
         "Command3",
         {{Qt::Key_Space, {}}, {Qt::Key_Tab, Qt::ShiftModifier}, {Qt::Key_Space, {}}},
         {{Qt::Key_Escape, {}}},
         "CommandReport"},
        {"ReportPanel",
         "Command3",
         {{Qt::Key_Space, {}}, {Qt::Key_Tab, Qt::ShiftModifier}, {Qt::Key_Space, {}}},
         {{Qt::Key_Tab, Qt::ShiftModifier}, {Qt::Key_Space, {}}},
         "CommandReport"},  // キャンセル
        {"PictureE", "Command3", {{Qt::Key_Space, {}}}, {{Qt::Key_Escape, {}}}, "Command3"},
        // A shortcut pressed in a row leaves the user in the row.
        {"Picture4", "TextName(2)", {{Qt::Key_D, Qt::AltModifier}}, {{Qt::Key_Escape, {}}}, "TextName(2)"},
        {"Picture2", "Command8", {{Qt::Key_Space, {}}}, {{Qt::Key_Escape, {}}}, "Command8"},
        {"PictureH", "TextNa(4)", {{Qt::Key_L, Qt::AltModifier}}, {{Qt::Key_Escape, {}}}, "TextNa(4)"},
        {"PictureCho",
         "TextEnbun(0)",
         {{Qt::Key_C, Qt::AltModifier}},
         {{Qt::Key_Escape, {}}},
         "TextEnbun(0)"},
        {"Picture8",
         "TextMoku",
         {{Qt::Key_C, Qt::AltModifier}, {Qt::Key_K, Qt::AltModifier}},
         {{Qt::Key_Escape, {}}},
         "TextEnbunC(20)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.panel) + " " + c.back);
        start().diary().LoadDailyLog(days(30));
        find<QWidget>(c.from)->setFocus();
        for (const auto& [k, mods] : c.open) key(k, mods);
        ASSERT_TRUE(find<QWidget>(c.panel)->isVisible());
        for (const auto& [k, mods] : c.close) key(k, mods);
        EXPECT_FALSE(find<QWidget>(c.panel)->isVisible());
        EXPECT_EQ(focusName().toStdString(), c.back);
        ASSERT_NE(focused(), nullptr);
        EXPECT_TRUE(focused()->isVisible());
        // Tab leads on from there, to a control the user can see.
        QWidget* before = focused();
        key(Qt::Key_Tab);
        EXPECT_NE(focused(), before);
        EXPECT_TRUE(focused() && focused()->isVisible()) << qPrintable(focusName());
        form.reset();
    }

    // Pressed by an assistive technology's action, the report's button keeps
    // no focus; the focus is on the covered button that opened an empty list.
    {
        Form1& w = start();
        w.Command3()->setFocus();
        key(Qt::Key_Space);
        SaltListScreen& s = *w.PictureE();
        ASSERT_TRUE(s.isVisible());
        QAccessibleInterface* report = QAccessible::queryAccessibleInterface(s.CommandReport);
        report->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        ASSERT_TRUE(QTest::qWaitFor([&] { return s.Report->isVisible(); }, 2000));
        key(Qt::Key_Escape);
        EXPECT_FALSE(s.Report->isVisible());
        EXPECT_EQ(focusName(), "CommandReport") << "not the button under the list";
        form.reset();
    }

    // The food table's own window, over the row's box that opened it.
    Form1& w = start();
    w.Text1_0()->setFocus();
    FoodTableWindow foods(dialogs, &w);
    foods.setWindowFlag(Qt::Window);
    foods.openForRow(0, ItemRecord{"0", "", "", ""});
    foods.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&foods));
    QTest::keyClick(foods.searchBox(), Qt::Key_Escape);
    EXPECT_FALSE(foods.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(w.focusWidget(), w.Text1_0());
}

}  // namespace
}  // namespace morv::test
