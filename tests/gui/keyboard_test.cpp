// A day's use with the keyboard alone, on the real window: every key goes to
// whatever has the focus, as it would from a real keyboard.

#include "GridFixture.h"
#include "exchange/DataDialog.h"
#include "log/DeletionPanel.h"
#include "log/ReportPanel.h"
#include "log/SaltListScreen.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "ui/Shortcuts.h"

#include <QAccessible>
#include <QMenu>

namespace morv::test {
namespace {

class Keyboard : public GridFixture {
protected:
    static QWidget* focused() { return QApplication::focusWidget(); }
    static void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focused(), Qt::Key(k), mods);
        QApplication::processEvents();
    }
    static void typed(const char* text) { QTest::keyClicks(focused(), QString::fromUtf8(text)); }
    // Tab (or Shift+Tab) until the focus is on `target`, giving up after a
    // lap of the window.
    static bool tabTo(const QWidget* target, bool back = false) {
        for (int i = 0; i < 80 && focused() != target; ++i) key(back ? Qt::Key_Backtab : Qt::Key_Tab);
        return focused() == target;
    }
    // The context-menu key on the focused box, then the entry `caption`. The
    // menu is on the accessibility tree, a child of the application.
    static void fromRowMenu(const QString& caption) {
        key(Qt::Key_Menu);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->objectName(), "RowMenu");
        QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
        QAccessibleInterface* onTree = QAccessible::queryAccessibleInterface(menu);
        const int at = app->indexOfChild(onTree);
        ASSERT_GE(at, 0);
        EXPECT_EQ(app->child(at), onTree);
        EXPECT_EQ(onTree->parent(), app);
        EXPECT_EQ(onTree->child(0)->text(QAccessible::Name), menu->actions().first()->text());
        for (int i = 0; i < menu->actions().size() && menu->activeAction()->text() != caption; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        ASSERT_EQ(menu->activeAction()->text(), caption);
        QTest::keyClick(menu, Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_F(Keyboard, ADaysUseWithoutTheMouse) {
    records({{u"0", u"みそ汁", u"", u"1.2"}, {u"0", u"焼き魚", u"", u"1.6"}});
    Form1& w = start();
    ItemGrid& g = grid();
    ASSERT_EQ(focused(), w.Text1_0());

    // Tick two foods from their boxes: Space over a selected name ticks it
    // and keeps the name; Ctrl+Space ticks from any box of the row.
    ASSERT_TRUE(tabTo(g.TextName[0]));
    key(Qt::Key_Space);
    EXPECT_EQ(g.TextName[0]->text(), "みそ汁");
    EXPECT_TRUE(g.Check[0]->isChecked());
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);  // row 1's name
    key(Qt::Key_Tab);  // its sodium
    key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(g.Check[1]->isChecked());
    EXPECT_EQ(g.TextNa[1]->text(), "") << "no blank typed";
    EXPECT_EQ(focused(), g.TextNa[1]) << "the focus stays in the box";
    EXPECT_EQ(w.LabelEnbun()->text(), "2.8");

    // A page on and back, then half of a salt through the row's menu.
    key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(w.ItemPage(), 1);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(w.ItemPage(), 0);
    ASSERT_TRUE(tabTo(g.TextEnbun[1]));
    fromRowMenu(QStringLiteral("1/2"));
    EXPECT_EQ(g.TextEnbun[1]->text(), "0.8");
    EXPECT_EQ(focused(), g.TextEnbun[1]);
    EXPECT_EQ(w.LabelEnbun()->text(), "2");

    // The calculator: tick salt by the teaspoon, halve it, carry it back and
    // set it into the selected salt box.
    key(Qt::Key_C, Qt::AltModifier);
    SeasoningPanel& calc = *w.PictureCho();
    ASSERT_TRUE(calc.isVisible());
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(dialogs.notices().isEmpty()) << "the covered strip takes no keys";
    ASSERT_TRUE(tabTo(calc.TextEnbunC[0]));
    key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(calc.CheckC[0]->isChecked());
    fromRowMenu(QStringLiteral("1/2"));
    EXPECT_EQ(calc.LabelEnbunC->text(), "3");
    key(Qt::Key_Escape);
    EXPECT_FALSE(calc.isVisible());
    EXPECT_EQ(w.LabelEnbunR()->text(), "3");
    key(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(g.TextEnbun[1]->text(), "3");
    EXPECT_EQ(w.LabelEnbun()->text(), "4.2");

    // Register the day, then end: the commands lie behind the date box.
    ASSERT_TRUE(tabTo(w.Command2(), true));
    key(Qt::Key_Space);
    ASSERT_EQ(w.LogCount(), 1);
    EXPECT_EQ(w.DailyLog()[0].DaySalt, "4.2");
    ASSERT_TRUE(tabTo(w.Command1(), true));
    key(Qt::Key_Space);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(exists("Enbun.txt"));
}

TEST_F(Keyboard, F1ListsEveryKeyAndEachControlCarriesItsOwn) {
    Form1& w = start();
    key(Qt::Key_F1);
    ASSERT_EQ(dialogs.notices().size(), 1);
    const QString list = dialogs.notices().first();
    for (const QString& k :
         {keys::NextPage, keys::PreviousPage, keys::Delete, keys::SelectedList, keys::UntickAll, keys::Weight,
          keys::Calculator, keys::SetSalt, keys::AddSalt, keys::SideCalculator, keys::Scale, keys::AddToExtra,
          keys::Back, QStringLiteral("Ctrl+Space"), QStringLiteral("Shift+F10")})
        EXPECT_TRUE(list.contains(k)) << qPrintable(k);
    EXPECT_EQ(w.Command30()->accessibleDescription(), keys::Delete);
    EXPECT_EQ(w.Picture7()->Command51->accessibleDescription(), keys::AddSalt);
    EXPECT_TRUE(grid().Check[3]->accessibleDescription().contains("Ctrl+Space"));
    EXPECT_TRUE(grid().CommandNa[3]->accessibleDescription().contains("Shift+F10"));
    key(Qt::Key_C, Qt::AltModifier);
    SeasoningPanel& calc = *w.PictureCho();
    EXPECT_EQ(calc.Command48->accessibleDescription(), keys::SideCalculator);
    EXPECT_TRUE(list.contains(QStringLiteral("Space：フォーカスのあるボタンを押す")));
    EXPECT_TRUE(list.contains(QStringLiteral("倍、追加、閉じる"))) << "the side calculator's menu";

    // The keys that no caption shows: Esc on every panel's way back, the
    // lists' page keys, and what the calculator's extra and side rows take.
    for (QWidget* back : std::initializer_list<QWidget*>{
             w.PictureE()->Command14, w.PictureE()->Report->CommandCancel, w.PictureH()->Command19,
             w.Picture4()->Command33, w.Picture2()->Command7})
        EXPECT_EQ(back->accessibleDescription(), keys::Back) << qPrintable(back->objectName());
    for (QWidget* page : std::initializer_list<QWidget*>{w.PictureE()->Command17, w.PictureE()->Command18,
                                                         w.PictureH()->Command20, w.PictureH()->Command21})
        EXPECT_EQ(page->accessibleDescription(), keys::Pages) << qPrintable(page->objectName());
    calc.TextNameC[0]->setFocus();  // what was said on opening is not the box's own description
    EXPECT_EQ(calc.TextEnbunC[SeasoningPanel::ExtraRow]->accessibleDescription(), keys::RowBoxTick);
    EXPECT_EQ(calc.TextEnbunC[SeasoningPanel::SideRow]->accessibleDescription(), keys::RowBoxMenu);
}

// Escape leaves a box being edited before it carries the total, as the
// click on "戻る" does: the total then includes what was typed.
TEST_F(Keyboard, EscapeInTheCalculatorCarriesWhatWasTyped) {
    for (const bool byEscape : {false, true}) {
        SCOPED_TRACE(byEscape ? "Escape" : "click");
        records({{u"1", u"みそ汁", u"", u"1"}});
        Form1& w = start();
        type(grid().TextEnbun[0], "");
        QTest::mouseClick(w.Picture7()->Command43, Qt::LeftButton);
        SeasoningPanel& calc = *w.PictureCho();
        QTest::mouseClick(calc.CheckC[0], Qt::LeftButton);
        type(calc.TextEnbunC[0], "3");
        if (byEscape)
            QTest::keyClick(calc.TextEnbunC[0], Qt::Key_Escape);
        else
            QTest::mouseClick(calc.Command46, Qt::LeftButton);
        EXPECT_EQ(w.LabelEnbunR()->text(), "3");
        QTest::mouseClick(w.Picture7()->Command44, Qt::LeftButton);
        EXPECT_EQ(grid().TextEnbun[0]->text(), "3");
        form.reset();
    }
}

}  // namespace
}  // namespace morv::test
