// The salt-list screen on the real window: opening, paging with wrap-around,
// the page box, the bars' places and colours, and closing.

#include "SaltListFixture.h"

#include <QClipboard>

namespace morv::test {
namespace {

using SaltListScreenTest = SaltListFixture;

TEST_F(SaltListScreenTest, PagesOfTwentyDaysWrapAroundBothWays) {
    struct Case {
        int count;
        const char* pages;
        int rowsOnLastPage;
    };
    const Case cases[] = {{0, "1", 0}, {20, "1", 20}, {21, "2", 1}, {41, "3", 1}};
    Form1& w = start();
    SaltListScreen& s = screen();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        w.diary().LoadDailyLog(days(c.count));
        w.Command3()->click();
        EXPECT_EQ(s.LabelPAGE->text(), c.pages);
        EXPECT_EQ(s.TextPAGE->text(), c.pages) << "opens on the newest days";
        EXPECT_EQ(shownRows(), c.rowsOnLastPage);
        if (c.rowsOnLastPage > 0) {
            EXPECT_EQ(s.LabelE1[0]->text(),
                      w.DailyLog()[static_cast<size_t>((std::atoi(c.pages) - 1) * 20)].LogDate);
        }

        s.Command18->click();
        EXPECT_EQ(s.TextPAGE->text(), "1") << "> on the last page wraps to the first";
        EXPECT_EQ(shownRows(), std::min(c.count, 20));
        s.Command17->click();
        EXPECT_EQ(s.TextPAGE->text(), c.pages) << "< on the first page wraps to the last";
        EXPECT_EQ(shownRows(), c.rowsOnLastPage);

        typePage("0");
        EXPECT_EQ(s.TextPAGE->text(), "1");
        EXPECT_EQ(shownRows(), std::min(c.count, 20));
        typePage("99");
        EXPECT_EQ(s.TextPAGE->text(), c.pages) << "a page beyond the end shows the last page";
        EXPECT_EQ(shownRows(), c.rowsOnLastPage);
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(SaltListScreenTest, StepsThroughTheMiddleAndShowsEachPagesDays) {
    SaltListScreen& s = openWith(days(41));
    s.Command17->click();
    EXPECT_EQ(s.TextPAGE->text(), "2");
    EXPECT_EQ(shownRows(), 20);
    EXPECT_EQ(s.LabelE1[0]->text(), form->DailyLog()[20].LogDate);
    EXPECT_EQ(s.LabelE1[19]->text(), form->DailyLog()[39].LogDate);
    s.Command18->click();
    EXPECT_EQ(s.TextPAGE->text(), "3");
    EXPECT_EQ(s.LabelE1[0]->text(), form->DailyLog()[40].LogDate);
    for (int r = 1; r < 20; ++r) {
        EXPECT_FALSE(s.LabelE1[r]->isVisible()) << r;
        EXPECT_FALSE(s.LabelE2[r]->isVisible()) << r;
        EXPECT_FALSE(s.LabelE3[r]->isVisible()) << r;
    }
    // An empty box and a page typed beyond the end before ">".
    s.TextPAGE->clear();
    s.Command15->click();
    EXPECT_EQ(s.TextPAGE->text(), "1");
    s.TextPAGE->setText("9");
    s.Command18->click();
    EXPECT_EQ(s.TextPAGE->text(), "3");
    EXPECT_TRUE(s.TextPAGE->hasFocus());
    EXPECT_EQ(s.TextPAGE->selectedText(), "3");
}

TEST_F(SaltListScreenTest, OpeningStartsAfreshEveryTime) {
    Form1& w = start();
    w.diary().LoadDailyLog(days(30));
    w.Command3()->click();
    SaltListScreen& s = screen();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.geometry(), QRect(0, 0, px(14775), px(10095)));
    EXPECT_TRUE(s.TextPAGE->hasFocus());
    EXPECT_EQ(s.TextPAGE->selectedText(), "2");

    // Leave it with the display on, the calendar open and page 1 shown.
    s.Command40->click();
    s.Text5->setText("120");
    s.Command35->click();
    s.Command18->click();
    s.Command14->click();
    EXPECT_FALSE(s.isVisible());
    EXPECT_EQ(s.TextPAGE->text(), "1") << "closing changes nothing else";
    EXPECT_EQ(s.Command40->text(), "血圧非表示");

    w.Text1_0()->setText("2023/01/02");
    w.ShowStatus("old message");
    w.Command3()->click();
    EXPECT_EQ(w.Label3()->text(), "");
    EXPECT_EQ(s.TextPAGE->text(), "2");
    EXPECT_EQ(s.Command40->text(), "血圧表示");
    EXPECT_FALSE(s.Picture5->isVisible());
    EXPECT_FALSE(s.Picture6->isVisible());
    EXPECT_FALSE(s.Calendar2->isVisible());
    EXPECT_EQ(s.Text2->text(), "2023/01/02");
    EXPECT_EQ(s.Text5->text(), "");
    EXPECT_EQ(s.Text6->text(), "");
    for (QLabel* bar : s.LabelE4) EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(s.Command14->isVisible());
    EXPECT_FALSE(s.Label37->isVisible());
    EXPECT_FALSE(s.Command28->isVisible());
    EXPECT_FALSE(s.Command29->isVisible());
}

TEST_F(SaltListScreenTest, AnEmptyLogOpensOnPageOneOfOneWithoutTakingTheFocus) {
    Form1& w = start();
    w.TextMoku()->setFocus();
    w.PictureE()->Open();
    SaltListScreen& s = screen();
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.TextPAGE->text(), "1");
    EXPECT_EQ(s.LabelPAGE->text(), "1");
    EXPECT_EQ(shownRows(), 0);
    EXPECT_EQ(focused(), w.TextMoku());
    s.Command18->click();
    s.Command17->click();
    EXPECT_EQ(s.TextPAGE->text(), "1");
    EXPECT_EQ(shownRows(), 0);
}

TEST_F(SaltListScreenTest, EveryControlHasItsNameAndCaption) {
    openWith(days(3));
    const std::pair<const char*, const char*> captions[] = {
        {"Label19", "塩分一覧"},
        {"Label20", "日付"},
        {"Label21", "塩分（グラム）"},
        {"Label25", "5"},
        {"Label24", "10"},
        {"Label26", "15"},
        {"Label27", "20"},
        {"Label23", "PAGE"},
        {"Label22", "/"},
        {"Label38", "血圧"},
        {"Label39", "-"},
        {"Label40", "血圧表示移動"},
        {"Label37",
         "読み込んだファイルの内容を表示しています、データを上書きする場合は下のボタンを押してください（血圧"
         "のデータも上書きされます）"},
    };
    for (auto [name, caption] : captions)
        EXPECT_EQ(find<QLabel>(name)->text(), QString::fromUtf8(caption)) << name;
    const std::pair<const char*, const char*> buttons[] = {
        {"Command15", "表示"},     {"Command17", "<"},          {"Command18", ">"},  {"Command14", "戻る"},
        {"Command40", "血圧表示"}, {"Command37", "<"},          {"Command35", "CL"}, {"Command36", ">"},
        {"Command39", "血圧登録"}, {"Command38", "血圧削除"},   {"Command41", "<"},  {"Command42", ">"},
        {"Command28", "上書き"},   {"Command29", "キャンセル"},
    };
    for (auto [name, caption] : buttons)
        EXPECT_EQ(find<QPushButton>(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(find<QPushButton>("Command39")->toolTip(), "指定された日付の血圧を記録します");
    EXPECT_EQ(find<QPushButton>("Command38")->toolTip(), "指定された日付の血圧を削除します");
    for (const char* name : {"TextPAGE", "Text2", "Text5", "Text6"}) find<QLineEdit>(name);
    for (const char* name : {"LabelPAGE"}) find<QLabel>(name);
    for (const char* name : {"PictureE", "Picture5", "Picture6"}) find<QWidget>(name);
    form->PictureE()->Command35->click();  // the calendar is built when first opened
    find<QWidget>("Calendar2");
    for (int r = 0; r < 20; ++r)
        for (const char* base : {"LabelE1", "LabelE2", "LabelE3", "LabelE4"})
            EXPECT_NE(form->findChild<QLabel*>(ArrayName(base, r)), nullptr) << base << r;
    // Picture5 and Picture6 belong to the screen; the entry panel holds its controls.
    EXPECT_EQ(find<QWidget>("Text5")->parentWidget(), screen().Picture5);
    EXPECT_EQ(find<QWidget>("Command42")->parentWidget(), screen().Picture6);
}

TEST_F(SaltListScreenTest, RowsAndBarsStandOnTheTwipGrid) {
    LogList log = days(20);
    log[0].DaySalt = "10";
    log[19].DaySalt = "20";
    SaltListScreen& s = openWith(log);
    for (int r : {0, 7, 19}) {
        for (QLabel* cell : {s.LabelE1[r], s.LabelE2[r], s.LabelE3[r], s.LabelE4[r]}) {
            EXPECT_EQ(cell->y() + cell->height() / 2, px(1440 + 360 * r + 180)) << r;
            EXPECT_GE(cell->y(), px(1440 + 360 * r)) << r;
            EXPECT_LE(cell->y() + cell->height(), px(1440 + 360 * (r + 1))) << r;
        }
        EXPECT_EQ(s.LabelE3[r]->x(), px(4080)) << r;
    }
    // 10 g is 5000 twips and ends under the "10" of the scale.
    EXPECT_EQ(s.LabelE3[0]->width(), px(4080 + 5000) - px(4080));
    EXPECT_NEAR(s.LabelE3[0]->width(), 5000 / 15.0, 0.5);
    EXPECT_NEAR(s.Label24->geometry().center().x(), px(4080 + 5000), 1);
    EXPECT_NEAR(s.LabelE3[19]->x() + s.LabelE3[19]->width(), s.Label27->geometry().center().x(), 1);
    EXPECT_EQ(s.LabelE3[1]->width(), px(4080 + 2500) - px(4080));
    const std::pair<QLabel*, int> scale[] = {
        {s.Label25, 5}, {s.Label24, 10}, {s.Label26, 15}, {s.Label27, 20}};
    for (auto [mark, grams] : scale) {
        EXPECT_NEAR(mark->geometry().center().x(), px(4080 + 500 * grams), 1) << grams;
        EXPECT_LT(mark->geometry().bottom(), px(1440)) << "above the first row";
    }
    // Nothing of the table lies under the entry panel or the shift panel.
    s.Command40->click();
    for (int r = 0; r < 20; ++r) {
        EXPECT_FALSE(s.Picture5->geometry().intersects(s.LabelE1[r]->geometry())) << r;
        EXPECT_FALSE(s.Picture6->geometry().intersects(s.LabelE1[r]->geometry())) << r;
    }
}

TEST_F(SaltListScreenTest, BarColoursFollowTheTargetInForceNow) {
    struct Case {
        const char* salt;
        const char* target;
        bool over;
        double widthTwips;
    };
    const Case cases[] = {
        {"7", "7", false, 3500}, {"7.01", "7", true, 3505}, {"6.5", "7", false, 3250},
        {"8", "", false, 4000},  {"8", "abc", false, 4000}, {"abc", "7", false, 0},
        {"", "7", false, 0},     {"-3", "7", false, 0},     {"-3", "-4", true, 0},
        {"12", "0", true, 6000},
    };
    Form1& w = start();
    SaltListScreen& s = screen();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.salt) + " / " + c.target);
        w.diary().LoadDailyLog({{"2024/01/05", c.salt, "", ""}});
        w.TextMoku()->setText(c.target);
        w.Command3()->click();
        EXPECT_EQ(s.LabelE2[0]->text(), c.salt);
        EXPECT_TRUE(s.LabelE3[0]->isVisible());
        EXPECT_EQ(Background(s.LabelE2[0]), c.over ? colour::Salmon : colour::PaleYellow);
        EXPECT_EQ(Background(s.LabelE3[0]), c.over ? colour::Salmon : colour::LightOrange);
        EXPECT_EQ(Background(s.LabelE1[0]), colour::White);
        EXPECT_EQ(s.LabelE3[0]->width(), px(4080 + c.widthTwips) - px(4080));
        s.Command14->click();
    }

    // A new target recolours past days at the next opening; an absurd salt
    // runs off the screen; the list never writes to the log.
    const LogList log{{"2024/01/04", "9", "", ""}, {"2024/01/05", "99999999999999999999", "", ""}};
    w.diary().LoadDailyLog(log);
    w.TextMoku()->setText("10");
    w.Command3()->click();
    EXPECT_EQ(Background(s.LabelE2[0]), colour::PaleYellow);
    EXPECT_GT(s.LabelE3[1]->width(), s.width());
    w.TextMoku()->setText("8");
    w.Command3()->click();
    EXPECT_EQ(Background(s.LabelE2[0]), colour::Salmon);
    EXPECT_EQ(w.DailyLog(), log);
}

TEST_F(SaltListScreenTest, PageBoxTakesFourDigitsAndShowsThePageOnEnter) {
    SaltListScreen& s = openWith(days(100));
    QLineEdit* box = s.TextPAGE;
    EXPECT_EQ(box->selectedText(), "5") << "the focus selects the whole text";
    QTest::keyClicks(box, "a2-.x");
    EXPECT_EQ(box->text(), "2");
    QTest::keyClicks(box, "34567");
    EXPECT_EQ(box->text(), "2345");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "2");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), "2");
    EXPECT_EQ(s.LabelE1[0]->text(), form->DailyLog()[20].LogDate);
    EXPECT_EQ(box->selectedText(), "2");
    s.Command18->setFocus();
    box->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(box->selectedText(), "2");
}

TEST_F(SaltListScreenTest, StoredTextIsNeverReadAsMarkup) {
    SaltListScreen& s = openWith({{"2024/01/05", "<b>5</b>", "", ""}});
    EXPECT_EQ(s.LabelE2[0]->text(), "<b>5</b>");
    QStringList markupLabels;
    for (const QLabel* label : form->findChildren<QLabel*>())
        if (label->textFormat() != Qt::PlainText) markupLabels << label->objectName();
    EXPECT_EQ(markupLabels, QStringList());
}

TEST_F(SaltListScreenTest, PastedTextIsHeldToWhatTypingAllows) {
    openWith(days(100));
    QLineEdit* page = screen().TextPAGE;
    QLineEdit* target = form->TextMoku();
    // box, its text, what is pasted at its end, the outcome.
    const std::tuple<QLineEdit*, QString, QString, QString> cases[] = {
        {page, "5", "12", "512"},
        {page, "5", "x", "5"},
        {page, "5", "1234", "5"},
        {target, "7", ".25", "7.25"},
        {target, "7.5", ".5", "7.5"},
        {target, "7.5", "123456", "7.5"},
        {target, "1234567890", "1", "1234567890"},          // a longer text set by the program stays
        {form->Text1_0(), "", "2024-01-05", "2024-01-05"},  // registration reads any date form
    };
    for (const auto& [box, before, pasted, after] : cases) {
        box->setText(before);
        box->setFocus();
        box->end(false);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keySequence(box, QKeySequence::Paste);
        EXPECT_EQ(box->text(), after) << before.toStdString() << " + " << pasted.toStdString();
    }
}

TEST_F(SaltListScreenTest, TabStaysOnTheScreen) {
    SaltListScreen& s = openWith(days(5));
    s.Command40->click();
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(focused(), i % 3 == 2 ? Qt::Key_Backtab : Qt::Key_Tab);
        ASSERT_NE(focused(), nullptr);
        EXPECT_TRUE(s.isAncestorOf(focused())) << focused()->objectName().toStdString();
    }
}

}  // namespace
}  // namespace morv::test
