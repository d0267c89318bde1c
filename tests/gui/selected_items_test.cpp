// "品名一覧" on the real window: the snapshot of selected items, its pages and
// their wrap-around, and the page box.

#include "GridFixture.h"
#include "exchange/PreviewBar.h"
#include "selected/SelectedItemsPanel.h"

namespace morv::test {
namespace {

class SelectedItemsTest : public GridFixture {
protected:
    SelectedItemsPanel& list() { return *form->PictureH(); }
    void selected(int count) {
        QString lines;
        for (int s = 0; s < count; ++s) lines += QStringLiteral("\"1\",\"item %1\",\"\",\"0.%1\"\r\n").arg(s);
        put("Kiroku.txt", EncodeCp932(lines));
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString pageShown() const {
        return form->PictureH()->TextPAGE2->text() + "/" + form->PictureH()->LabelPAGE2->text();
    }
};

TEST_F(SelectedItemsTest, SixtyOneItemsMakeTwoPagesThatWrapAround) {
    selected(61);
    Form1& w = start();
    click(w.Command13());
    ASSERT_TRUE(list().isVisible());
    EXPECT_TRUE(list().TextPAGE2->hasFocus());
    EXPECT_EQ(pageShown(), "1/2");
    EXPECT_EQ(list().LabelH1[0]->text(), QStringLiteral(" ｉｔｅｍ　０"));
    EXPECT_EQ(list().LabelH2[0]->text(), "0.0 ");
    EXPECT_EQ(list().LabelH1[59]->text(), QStringLiteral(" ｉｔｅｍ　５９"));

    click(list().Command21);
    EXPECT_EQ(pageShown(), "2/2") << "< on the first page wraps to the last";
    EXPECT_EQ(list().LabelH1[0]->text(), QStringLiteral(" ｉｔｅｍ　６０"));
    EXPECT_EQ(list().LabelH1[1]->text(), "");
    click(list().Command20);
    EXPECT_EQ(pageShown(), "1/2") << "> on the last page wraps to the first";

    for (auto [typed, page] : {std::pair{"0", "1"}, {"9", "2"}, {"", "2"}}) {
        list().TextPAGE2->setFocus();
        QTest::keyClick(list().TextPAGE2, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list().TextPAGE2, Qt::Key_Backspace);
        QTest::keyClicks(list().TextPAGE2, QString::fromLatin1(typed) + "x");
        enter(list().TextPAGE2);
        EXPECT_EQ(list().TextPAGE2->text(), page) << "typed " << typed;
    }
    EXPECT_EQ(list().LabelH1[0]->text(), QStringLiteral(" ｉｔｅｍ　６０"))
        << "an emptied box keeps the page shown";
    QTest::keyClick(list().TextPAGE2, Qt::Key_Tab);
    EXPECT_TRUE(list().TextPAGE2->hasFocus()) << "Tab does not reach the covered window";

    // A snapshot: later changes show at the next opening, also a row filled
    // from the food table's window, which stays usable beside the list.
    w.diary().SetItem(0, {"1", "うめ", "", "2.5"});
    w.diary().SetChecked(1, "0");
    EXPECT_EQ(pageShown(), "2/2");
    EXPECT_EQ(list().LabelH1[0]->text(), QStringLiteral(" ｉｔｅｍ　６０"));
    w.Picture3()->show();  // as while an item import is pending
    click(list().Command19);
    EXPECT_FALSE(list().isVisible());
    EXPECT_TRUE(w.Picture3()->Command27->hasFocus()) << "not the main command the preview bar covers";
    w.Picture3()->hide();
    w.diary().SetChecked(60, "0");
    click(w.Command13());
    EXPECT_EQ(pageShown(), "1/1");
    EXPECT_EQ(list().LabelH1[0]->text(), QStringLiteral(" うめ"));
}

TEST_F(SelectedItemsTest, NoSelectedItemEmptiesEveryCell) {
    selected(60);
    Form1& w = start();
    click(w.Command13());
    EXPECT_EQ(pageShown(), "1/1");
    EXPECT_EQ(list().LabelH2[59]->text(), "0.59 ");
    click(list().Command19);
    w.diary().LoadItemTable(NewItemTable());
    click(w.Command13());
    EXPECT_EQ(pageShown(), "1/1");
    EXPECT_TRUE(list().TextPAGE2->hasFocus());
    for (int k = 0; k < 60; ++k) ASSERT_EQ(list().LabelH1[k]->text() + list().LabelH2[k]->text(), "") << k;
    list().TextPAGE2->setText("3");
    click(list().Command20);
    EXPECT_EQ(list().TextPAGE2->text(), "3") << "the arrows only focus the box";
    EXPECT_TRUE(list().TextPAGE2->hasFocus());
    click(list().Command22);
    EXPECT_EQ(list().TextPAGE2->text(), "1");
}

}  // namespace
}  // namespace morv::test
