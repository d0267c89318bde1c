// The food table's search window on its own: typed search with the count said
// aloud, arrows and Enter, the grams with their sodium and salt, and the row it
// hands over, asked about before it replaces another food.

#include "Fakes.h"
#include "foods/FoodTableWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace morv::test {
namespace {

TEST(FoodsWindow, TypePickGiveGramsAndFillTheRow) {
    ScriptedDialogs dialogs;
    FoodTableWindow w(dialogs);
    std::vector<std::pair<int, ItemRecord>> filled;
    QObject::connect(&w, &FoodTableWindow::fillRow,
                     [&](int slot, const ItemRecord& record) { filled.emplace_back(slot, record); });

    w.openForRow(5, ItemRecord{"0", "", "", ""});
    ASSERT_TRUE(w.isVisible());
    TypeCommitted(w.searchBox(), QStringLiteral("ウメボシ"));
    EXPECT_EQ(w.status()->text(), QStringLiteral("2 件"));
    EXPECT_EQ(w.status()->accessibleName(), w.status()->text());
    const QAbstractItemModel& rows = *w.results()->model();
    EXPECT_EQ(rows.index(0, 0).data().toString(), QStringLiteral("うめ　梅干し　塩漬"));
    EXPECT_EQ(rows.index(0, 1).data().toString(), QStringLiteral("果実類"));
    EXPECT_EQ(rows.index(0, 2).data().toString(), QStringLiteral("18.2"));
    EXPECT_EQ(rows.index(0, 3).data().toString(), QStringLiteral("7200"));
    QTest::keyClick(w.searchBox(), Qt::Key_Down);
    EXPECT_EQ(w.results()->currentIndex().row(), 1);
    QTest::keyClick(w.searchBox(), Qt::Key_Up);
    QTest::keyClick(w.searchBox(), Qt::Key_Return);
    EXPECT_EQ(w.gramsBox()->text(), QStringLiteral("100"));
    EXPECT_EQ(w.amountLabel()->text(), QStringLiteral("ナトリウム 7200 mg　塩分 18.28 g"));
    w.gramsBox()->selectAll();
    QTest::keyClicks(w.gramsBox(), QStringLiteral("15"));
    EXPECT_EQ(w.amountLabel()->text(), QStringLiteral("ナトリウム 1080 mg　塩分 2.74 g"));
    QTest::keyClick(w.gramsBox(), Qt::Key_Return);
    const ItemRecord umeboshi{"1", "うめ　梅干し　塩漬", "1080", "2.74"};
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].first, 5);
    EXPECT_EQ(filled[0].second, umeboshi);
    EXPECT_TRUE(dialogs.questions().isEmpty()) << "an empty row is filled without a question";
    EXPECT_FALSE(w.isVisible());

    // Another food in the row: asked, No keeps it; the last grams come back.
    w.openForRow(6, ItemRecord{"1", "食パン", "", "1.2"});
    QTest::keyClick(w.searchBox(), Qt::Key_Return);
    EXPECT_EQ(w.gramsBox()->text(), QStringLiteral("15"));
    QTest::keyClick(w.gramsBox(), Qt::Key_Return);
    EXPECT_EQ(dialogs.questions(),
              QStringList{QStringLiteral("この行の「食パン」を「うめ　梅干し　塩漬」に置き換えますか？")});
    EXPECT_EQ(filled.size(), 1u);
    EXPECT_TRUE(w.isVisible());
    dialogs.answers.push_back(true);
    QTest::mouseClick(w.fillButton(), Qt::LeftButton);
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[1], std::make_pair(6, umeboshi));

    // A food whose sodium was not measured cannot go into a row; Escape closes.
    w.openForRow(7, ItemRecord{"0", "", "", ""});
    w.searchBox()->setText(QStringLiteral("乳児用液体ミルク"));
    QTest::keyClick(w.searchBox(), Qt::Key_Return);
    EXPECT_EQ(w.amountLabel()->text(), QStringLiteral("ナトリウムが不明のため、行に入れられません"));
    EXPECT_FALSE(w.fillButton()->isEnabled());
    QTest::keyClick(w.gramsBox(), Qt::Key_Return);
    EXPECT_EQ(filled.size(), 2u);
    QTest::keyClick(w.searchBox(), Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());

    // A megabyte pasted keeps its start and says what was left out.
    w.openForRow(7, ItemRecord{"0", "", "", ""});
    QApplication::clipboard()->setText(QStringLiteral("みそ") + QString(1 << 20, u'x'));
    QTest::keyClick(w.searchBox(), Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(w.searchBox()->text().size(), SearchMaxLength);
    EXPECT_TRUE(w.status()->text().endsWith(SearchCutText())) << qPrintable(w.status()->text());
    EXPECT_EQ(w.status()->accessibleName(), w.status()->text());
}

}  // namespace
}  // namespace morv::test
