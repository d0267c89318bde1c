// Typing into the grid's number boxes, the Enter-key hint, and the conversion
// and portion buttons of a row on the real widgets.

#include "GridFixture.h"
#include "foods/FoodTableWindow.h"
#include "grid/WeightPanel.h"
#include "text/Cp932.h"

#include <QKeyEvent>

#include <QElapsedTimer>
#include <cstdio>

namespace morv::test {
namespace {

using GridInput = GridFixture;

TEST_F(GridInput, NumberBoxesTakeDigitsAndOnePointUpToSixCharacters) {
    Form1& w = start();
    for (QLineEdit* box : {grid().TextNa[2], grid().TextEnbun[2]}) {
        SCOPED_TRACE(box->objectName().toStdString());
        dialogs.calls.clear();
        type(box, "1a-.5 x");
        EXPECT_EQ(box->text(), "1.5");
        EXPECT_TRUE(dialogs.calls.empty()) << "other characters go without a message";

        // Focus selects the whole "1.5"; a point is still refused.
        type(box, ".");
        EXPECT_EQ(box->text(), "1.5");
        EXPECT_EQ(dialogs.notices(), QStringList{"すでに小数点が入力されています"});

        box->clear();
        QTest::keyClicks(box, "12345678");
        EXPECT_EQ(box->text(), "123456") << "six characters are typed at most";
        box->setText("1234567.891");
        EXPECT_EQ(box->text(), "1234567.891") << "the program may write more";
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "1234567.89");
    }
    EXPECT_EQ(w.ItemTable()[2].Sodium, "1234567.89");
    EXPECT_EQ(w.ItemTable()[2].ItemSalt, "1234567.89");
}

TEST_F(GridInput, EnterHintShowsWhileATickedNamedSaltIsEdited) {
    records({{u"1", u"soup", u"", u"1"}, {u"0", u"tea", u"", u"0.1"}, {u"1", u"", u"", u"2"}});
    Form1& w = start();
    ItemGrid& g = grid();

    // Not for an unticked or an unnamed row.
    for (int r : {1, 2}) {
        type(g.TextEnbun[r], "5");
        EXPECT_FALSE(w.EnterPrompt()) << r;
        EXPECT_EQ(w.Label3()->text(), "") << r;
    }

    type(g.TextEnbun[0], "2");
    EXPECT_TRUE(w.EnterPrompt());
    EXPECT_EQ(w.Label3()->text(), hint());
    EXPECT_EQ(w.Label3()->palette().color(QPalette::WindowText), colour::Red);
    EXPECT_EQ(w.LabelEnbun()->text(), "1") << "the total waits for Enter";
    enter(g.TextEnbun[0]);
    EXPECT_EQ(w.LabelEnbun()->text(), "2");
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_TRUE(w.EnterPrompt()) << "still editing the same box";
    EXPECT_EQ(g.TextEnbun[0]->text(), "2") << "Enter is not typed";

    QTest::keyClicks(g.TextEnbun[0], "5");
    EXPECT_EQ(w.Label3()->text(), hint());
    type(g.TextName[3], "x");  // leaving the salt box
    EXPECT_FALSE(w.EnterPrompt());
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_EQ(w.LabelEnbun()->text(), "25");
}

TEST_F(GridInput, ATypedSaltCountsOnEnterOrWhenItsCountedRowIsLeft) {
    records({{u"1", u"soup", u"", u"1"}, {u"0", u"tea", u"", u"0.1"}});
    Form1& w = start();
    ItemGrid& g = grid();

    type(g.TextEnbun[0], "3");
    EXPECT_EQ(w.ItemTable()[0].ItemSalt, "3") << "stored at once";
    EXPECT_EQ(w.LabelEnbun()->text(), "1") << "the total waits";
    enter(g.TextEnbun[0]);
    EXPECT_EQ(w.LabelEnbun()->text(), "3");
    type(g.TextName[3], "");
    type(g.TextEnbun[0], "2");
    EXPECT_EQ(w.LabelEnbun()->text(), "3");
    type(g.TextName[3], "");  // leaving a ticked, named row's salt
    EXPECT_EQ(w.LabelEnbun()->text(), "2");

    // A change made through the diary alone is counted at once.
    w.diary().SetItem(100, {"1", "elsewhere", "", "4"});
    EXPECT_EQ(w.LabelEnbun()->text(), "6");
}

TEST_F(GridInput, FocusingANumberBoxMakesItTheSelectedArea) {
    Form1& w = start();
    ItemGrid& g = grid();
    w.ShowStatus("old");
    type(g.TextNa[4], "");
    EXPECT_TRUE(w.SodiumAreaSelected());
    EXPECT_FALSE(w.SaltAreaSelected());
    EXPECT_EQ(w.SelectedRow(), 4);
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_EQ(Background(g.TextNa[4]), colour::White) << "no highlight while the weight panel is empty";

    // A carried seasoning total marks a salt box only.
    w.Waiting().SetCarriedSalt("1.2");
    type(g.TextNa[6], "");
    EXPECT_EQ(Background(g.TextNa[6]), colour::White);
    type(g.TextEnbun[6], "");
    EXPECT_TRUE(w.SaltAreaSelected());
    EXPECT_FALSE(w.SodiumAreaSelected());
    EXPECT_EQ(Background(g.TextEnbun[6]), colour::Yellow);

    // A name box, a tick or a button leaves the selection where it was.
    type(g.TextName[9], "");
    tick(9);
    QTest::mouseClick(w.Command2(), Qt::LeftButton);
    dialogs.calls.clear();
    EXPECT_TRUE(w.SaltAreaSelected());
    EXPECT_EQ(w.SelectedRow(), 6);
    EXPECT_EQ(Background(g.TextEnbun[6]), colour::Yellow);

    // The next box takes the mark from the previous row.
    w.Waiting().SetCarriedSalt("0");
    w.Picture1()->Text4->setText("45");
    type(g.TextNa[8], "");
    EXPECT_EQ(Background(g.TextEnbun[6]), colour::White);
    EXPECT_EQ(Background(g.TextNa[8]), colour::Yellow);
    w.Picture1()->Text4->clear();
}

TEST_F(GridInput, ConvertingSodiumFillsTheSaltAndMovesThere) {
    records({{u"1", u"soup", u"", u"9"}, {u"0", u"tea", u"", u"9"}});
    Form1& w = start();
    ItemGrid& g = grid();

    type(g.TextNa[0], "250");
    enter(g.TextNa[0]);
    EXPECT_EQ(g.TextEnbun[0]->text(), "0.63");
    EXPECT_EQ(w.ItemTable()[0].ItemSalt, "0.63");
    EXPECT_EQ(g.TextNa[0]->text(), "");
    EXPECT_EQ(w.ItemTable()[0].Sodium, "");
    EXPECT_EQ(w.LabelEnbun()->text(), "0.63") << "a ticked, named row counts at once";
    EXPECT_EQ(QApplication::focusWidget(), g.TextEnbun[0]);
    EXPECT_TRUE(w.SaltAreaSelected());
    EXPECT_EQ(w.SelectedRow(), 0);

    // The button does the same; an unticked row changes only its salt.
    g.TextNa[1]->setText("1000");
    QTest::mouseClick(g.CommandNa[1], Qt::LeftButton);
    EXPECT_EQ(g.TextEnbun[1]->text(), "2.54");
    EXPECT_EQ(w.LabelEnbun()->text(), "0.63");
    EXPECT_EQ(QApplication::focusWidget(), g.TextEnbun[1]);

    // Nothing to convert: the salt stays, the sodium box is emptied, the focus moves.
    for (const char* sodium : {"", "abc"}) {
        g.TextNa[1]->setText(sodium);
        QTest::mouseClick(g.CommandNa[1], Qt::LeftButton);
        EXPECT_EQ(g.TextEnbun[1]->text(), "2.54") << sodium;
        EXPECT_EQ(g.TextNa[1]->text(), "") << sodium;
        EXPECT_EQ(QApplication::focusWidget(), g.TextEnbun[1]) << sodium;
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(GridInput, PortionButtonsScaleTheRowsSalt) {
    records({{u"1", u"soup", u"", u""}});
    Form1& w = start();
    ItemGrid& g = grid();
    struct Case {
        const char* salt;
        QPushButton* button;
        const char* result;
        const char* total;
    };
    const Case cases[] = {
        {"2.5", g.Command2b[0], "5", "5"},
        {"12", g.Command3b[0], "36", "36"},
        {"1.2345", g.Command3b[0], "3.703", "3.70"},
        {"0.1", g.Command5b[0], "0.5", "0.5"},
        {"1", g.Command3w[0], "0.333", "0.33"},
        {"0.003", g.Command2w[0], "0.001", "0.00"},
        {"0.001", g.Command2w[0], "0", "0"},
        {"1.2", g.Command5w[0], "0.24", "0.24"},
        // Nothing to scale.
        {"", g.Command2b[0], "", "0"},
        {"abc", g.Command5w[0], "abc", "0"},
        // Beyond whole thousandths in 32 bits.
        {"2147483.6475", g.Command2w[0], "2147483.6475", "2147483.64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.salt) + " " + c.button->objectName().toStdString());
        g.TextEnbun[0]->setText(c.salt);
        w.ShowStatus("old");
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_EQ(g.TextEnbun[0]->text(), c.result);
        EXPECT_EQ(w.ItemTable()[0].ItemSalt, c.result);
        EXPECT_EQ(w.LabelEnbun()->text(), c.total);
        EXPECT_EQ(QApplication::focusWidget(), g.TextEnbun[0]);
        EXPECT_EQ(w.Label3()->text(), "");
    }
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(Background(w.CommandP()[0]), colour::Salmon) << "the page buttons are not repainted";
}

TEST_F(GridInput, AResultTooLargeToWriteLeavesTheRowAsItWas) {
    Form1& w = start();
    ItemGrid& g = grid();
    const QString huge = QStringLiteral("1") + QString(308, u'0');  // 1e308, pasted
    g.TextEnbun[0]->setText(huge);
    QTest::mouseClick(g.Command5b[0], Qt::LeftButton);
    EXPECT_EQ(g.TextEnbun[0]->text(), huge);
    QTest::mouseClick(g.Command3w[0], Qt::LeftButton);
    EXPECT_EQ(g.TextEnbun[0]->text(), huge);

    g.TextNa[0]->setText(huge);
    g.TextEnbun[0]->setText("1");
    QTest::mouseClick(g.CommandNa[0], Qt::LeftButton);
    EXPECT_EQ(g.TextEnbun[0]->text(), "1");
    EXPECT_EQ(g.TextNa[0]->text(), huge) << "a number that cannot be converted is not thrown away";
    EXPECT_EQ(w.ItemTable()[0].Sodium, huge);
    EXPECT_EQ(QApplication::focusWidget(), g.TextEnbun[0]);
}

TEST_F(GridInput, TypingANameCostsFarLessThanAFrame) {
    records({{u"1", u"soup", u"", u"1"}});
    Form1& w = start();
    // A long log must not slow down the grid.
    w.diary().LoadDailyLog(LogList(5000, {QStringLiteral("2010/01/01"), "6", "", ""}));
    for (int s = 1; s < 160; ++s) w.diary().SetItem(s, {"1", QStringLiteral("item %1").arg(s), "", "0.25"});
    QLineEdit* name = grid().TextName[0];
    type(name, "");
    const QString text = QString(200, u'a');
    QElapsedTimer timer;
    timer.start();
    QTest::keyClicks(name, text);
    const qint64 elapsed = timer.elapsed();
    std::printf("typing 200 characters into a name box: %lld ms\n", static_cast<long long>(elapsed));
    EXPECT_EQ(w.ItemTable()[0].ItemName, text);
    EXPECT_EQ(w.LabelEnbun()->text(), "40.75");
    EXPECT_LT(elapsed, 1000);
}

}  // namespace
}  // namespace morv::test

namespace morv::test {
namespace {

TEST_F(GridInput, AFoodFromTheTableFillsTheRowByKeysAndIsSaved) {
    Form1& w = start();
    ItemGrid& g = grid();
    type(g.TextName[2], "");
    QTest::keyClick(g.TextName[2], Qt::Key_F, Qt::ControlModifier);
    FoodTableWindow* table = w.FoodTable().built();
    ASSERT_TRUE(table && table->isVisible());
    TypeCommitted(table->searchBox(), QStringLiteral("うめぼし"));
    QTest::keyClick(table->searchBox(), Qt::Key_Return);
    table->gramsBox()->selectAll();
    QTest::keyClicks(table->gramsBox(), "15");
    QTest::keyClick(table->gramsBox(), Qt::Key_Return);

    EXPECT_TRUE(g.Check[2]->isChecked());
    EXPECT_EQ(g.TextNa[2]->text(), "1080");
    EXPECT_EQ(g.TextEnbun[2]->text(), "2.74");
    EXPECT_EQ(w.LabelEnbun()->text(), "2.74");
    w.AutosaveNow();
    const QList<QByteArray> lines = bytes("Kiroku.txt").split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_EQ(lines[2], EncodeCp932(QStringLiteral("\"1\",\"うめ　梅干し　塩漬\",\"1080\",\"2.74\"\r")));
}

}  // namespace
}  // namespace morv::test
