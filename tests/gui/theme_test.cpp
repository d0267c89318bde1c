// The window's colours are its own: under a dark desktop theme every text
// still reads on the background it is drawn on, and the colour coding stays
// through a change of theme while the program runs. The suite also runs under
// GTK's dark style (see tests/CMakeLists.txt), where the desktop's palette is
// dark from the start.

#include "SaltListFixture.h"
#include "foods/FoodTableWindow.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "text/Cp932.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QStyleFactory>
#include <QTableView>
#include <QToolButton>
#include <cmath>

namespace morv::test {
namespace {

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour a control's text is drawn on: its own field or face, else the
// nearest panel that paints itself, else the window.
QColor backgroundOf(const QWidget* w) {
    if (qobject_cast<const QLineEdit*>(w)) return w->palette().color(QPalette::Base);
    const auto* tool = qobject_cast<const QToolButton*>(w);
    if (qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QCheckBox*>(w) &&
        !(tool && tool->autoRaise()))
        return w->palette().color(QPalette::Button);
    // A flat tool button (the calendar's month and year) is drawn on its bar.
    for (const QWidget* p = tool ? w->parentWidget() : w; p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow()) return p->palette().color(p->backgroundRole());
    return {};
}

QColor textOf(const QWidget* w) {
    if (qobject_cast<const QLineEdit*>(w)) return w->palette().color(QPalette::Text);
    if (qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QCheckBox*>(w))
        return w->palette().color(QPalette::ButtonText);
    return w->palette().color(QPalette::WindowText);
}

class Theme : public SaltListFixture {
protected:
    void SetUp() override {
        SaltListFixture::SetUp();
        desktop = QApplication::palette();
        QPalette dark(QColor(53, 53, 53));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(dark);
    }
    void TearDown() override {
        SaltListFixture::TearDown();
        QApplication::setPalette(desktop);
    }

    // Every shown text control whose text is too faint on its background: a
    // box the program colours needs 4.5:1, text in a colour of its own (the
    // red status line) and the rest 3:1.
    QStringList unreadable(int* coloured = nullptr) const {
        QApplication::processEvents();
        QStringList out;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                                     qobject_cast<QAbstractButton*>(w)))
                continue;
            const bool colouredBox =
                w->property("morvOwnBackground").isValid() && !w->property("morvOwnTextColour").isValid();
            if (coloured && colouredBox) ++*coloured;
            const double ratio = contrast(textOf(w), backgroundOf(w));
            if (ratio < (colouredBox ? 4.5 : 3.0))
                out << QStringLiteral("%1 %2").arg(w->objectName()).arg(ratio, 0, 'f', 2);
        }
        return out;
    }

    // The colour coding of the main view, as a test reads it.
    void expectColourCoding(Form1& w, int shownPage) {
        EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon);
        EXPECT_EQ(Background(w.CommandP()[static_cast<size_t>(shownPage)]), colour::Salmon);
        EXPECT_EQ(Background(w.CommandP()[shownPage == 0 ? 1 : 0]),
                  shownPage == 0 ? colour::White : colour::LightOrange);
        if (shownPage != 0) return;
        EXPECT_EQ(Background(w.Grid()->TextName[0]), colour::Pink);
        EXPECT_EQ(Background(w.Pictureb()[1]), colour::Peach);
        EXPECT_EQ(Background(w.Pictureb()[2]), colour::ButtonFace());
        EXPECT_EQ(w.palette().color(QPalette::Window), LightPalette().color(QPalette::Window));
    }

    QPalette desktop;
};

TEST_F(Theme, EveryTextReadsOnItsBackgroundUnderADarkDesktop) {
    put("Moku.txt", "2\r\n");
    put("Kiroku.txt",
        EncodeCp932(QStringLiteral("\"1\",\"みそ汁\",\"\",\"2.5\"\r\n\"0\",\"パン\",\"\",\"\"\r\n")));
    Form1& w = start();
    w.diary().LoadDailyLog(days(25, QDate(2024, 1, 1)));
    // Typed values in every kind of coloured box: the plain white ones, a
    // marked target (yellow) and the named rows.
    ItemGrid& g = *w.Grid();
    g.TextNa[1]->setText(QStringLiteral("350"));
    g.TextEnbun[1]->setText(QStringLiteral("0.9"));
    g.TextNa[3]->setFocus();
    w.Picture1()->Text3->setText(QStringLiteral("1"));
    EXPECT_EQ(Background(g.TextNa[3]), colour::Yellow);
    EXPECT_EQ(LightPalette().color(QPalette::Window).lightness(), 239) << "light, whatever the desktop";
    EXPECT_EQ(w.palette().color(QPalette::WindowText), QColor(Qt::black));
    expectColourCoding(w, 0);
    int coloured = 0;
    EXPECT_TRUE(unreadable(&coloured).isEmpty()) << qPrintable(unreadable().join("; "));
    EXPECT_GT(coloured, 50) << "every row's boxes, the page buttons and the total";

    // The screens drawn over the window, built under the dark theme as well.
    const std::function<void()> screens[] = {
        [&] { w.Command3()->click(); },
        [&] { w.Command13()->click(); },
        [&] { w.Picture7()->Command43->click(); },
        [&] { w.Command8()->click(); },
        [&] { w.Command16()->click(); },
    };
    for (const auto& open : screens) {
        open();
        EXPECT_TRUE(unreadable().isEmpty()) << qPrintable(unreadable().join("; "));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }
}

TEST_F(Theme, ADesktopThemeChangeWhileRunningKeepsTheColourCoding) {
    put("Moku.txt", "2\r\n");
    put("Kiroku.txt",
        EncodeCp932(QStringLiteral("\"1\",\"みそ汁\",\"\",\"2.5\"\r\n\"0\",\"パン\",\"\",\"\"\r\n")));
    Form1& w = start();
    QApplication::setPalette(desktop);
    // What a settings tool does when it applies a dark scheme: another style,
    // another palette, a style sheet and the theme-change event.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QPalette dark(QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    QApplication::setPalette(dark);
    qApp->setStyleSheet(QStringLiteral("QLineEdit { background: #202020; color: white; }"));
    QEvent theme(QEvent::ThemeChange);
    QApplication::sendEvent(&w, &theme);
    QApplication::processEvents();
    EXPECT_TRUE(IsProgramStyle(QApplication::style()));
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    expectColourCoding(w, 0);
    EXPECT_TRUE(unreadable().isEmpty()) << qPrintable(unreadable().join("; "));

    // A page turn paints with the window's colours alone, not a mix.
    QTest::keyClick(w.Text1_0(), Qt::Key_PageDown, Qt::ControlModifier);
    expectColourCoding(w, 1);
    EXPECT_TRUE(unreadable().isEmpty()) << qPrintable(unreadable().join("; "));
}

// The colours the user sees, against WCAG 2: what a focused value, a chosen
// food and a bar are drawn with, each at the level its kind needs (text
// 4.5:1; a bar's outline and a focus frame 3:1). The red of the status line
// is the named colour of the original look, kept there at 3.5:1.
TEST_F(Theme, EachDrawnColourReadsAtItsLevel) {
    put("Moku.txt", "6\r\n");
    put("Kiroku.txt", EncodeCp932(QStringLiteral("\"1\",\"みそ汁\",\"\",\"1.52\"\r\n")));
    Form1& w = start();
    LogList log = days(3, QDate(2024, 1, 1));
    log[0].DaySalt = "4";   // within the target
    log[1].DaySalt = "18";  // over it, and long enough to lie under its reading
    log[1].PressureLow = "80";
    log[1].PressureHigh = "130";
    w.diary().LoadDailyLog(std::move(log));

    auto selection = [](QWidget* box, QPalette::ColorGroup group = QPalette::Active) {
        return std::pair{box->palette().color(group, QPalette::HighlightedText),
                         box->palette().color(group, QPalette::Highlight)};
    };
    // What is drawn at a point of the screen the widget lies on.
    auto pixel = [](QWidget* on, QPoint at) { return on->grab().toImage().pixelColor(at); };
    SaltListScreen& s = *w.PictureE();
    auto barEdge = [&](int row, QLabel* const* bars) {
        QLabel* bar = bars[row];
        const QPoint inside = bar->geometry().topLeft() + QPoint(bar->width() / 2, 0);
        return std::pair{pixel(&s, inside), pixel(&s, inside - QPoint(0, 1))};
    };
    // The pressure bar's left end, which lies on the day's salt bar.
    auto overBar = [&](int row) {
        QLabel* bar = s.LabelE4[row];
        const QPoint edge = bar->geometry().topLeft() + QPoint(0, bar->height() / 2);
        return std::pair{pixel(&s, edge), pixel(&s, edge - QPoint(1, 0))};
    };

    const struct {
        const char* what;
        std::function<void()> show;
        std::function<std::pair<QColor, QColor>()> colours;
        double least;
    } rows[] = {
        {"a focused date", [&] { w.Text1_0()->setFocus(); }, [&] { return selection(w.Text1_0()); }, 4.5},
        {"a focused salt of a ticked row", [&] { w.Grid()->TextEnbun[0]->setFocus(); },
         [&] { return selection(w.Grid()->TextEnbun[0]); }, 4.5},
        {"a button's focus frame", [&] { w.Command3()->setFocus(); },
         [&] {
             return std::pair{w.Command3()->palette().color(QPalette::Highlight), Background(w.Command3())};
         },
         3.0},
        {"the chosen food while typing in the search",
         [&] {
             w.OpenFoodTable(0);
             auto* foods = w.findChild<FoodTableWindow*>();
             foods->searchBox()->setText(QStringLiteral("みそ"));
         },
         [&] { return selection(w.findChild<FoodTableWindow*>()->results(), QPalette::Inactive); }, 4.5},
        {"the chosen food in the results", [&] { w.findChild<FoodTableWindow*>()->results()->setFocus(); },
         [&] { return selection(w.findChild<FoodTableWindow*>()->results()); }, 4.5},
        {"a bar within the target",
         [&] {
             w.findChild<FoodTableWindow*>()->close();
             w.Command3()->click();
             s.Command40->click();
         },
         [&] { return barEdge(0, s.LabelE3.data()); }, 3.0},
        {"a bar over the target", [] {}, [&] { return barEdge(1, s.LabelE3.data()); }, 3.0},
        {"a pressure bar on the window", [] {}, [&] { return barEdge(1, s.LabelE4.data()); }, 3.0},
        {"a pressure bar on a salt bar", [] {}, [&] { return overBar(1); }, 3.0},
        {"the status line's red", [&] { w.ShowStatus(QStringLiteral("日付が誤っています")); },
         [&] {
             return std::pair{w.Label3()->palette().color(QPalette::WindowText), Background(w.Label3())};
         },
         3.0},
    };
    for (const auto& row : rows) {
        row.show();
        QApplication::processEvents();
        const auto [text, background] = row.colours();
        const double ratio = contrast(text, background);
        EXPECT_GE(ratio, row.least) << row.what << ": " << qPrintable(text.name()) << " on "
                                    << qPrintable(background.name()) << " " << ratio;
    }
    EXPECT_EQ(w.Label3()->palette().color(QPalette::WindowText), colour::Red) << "the original look";
}

// A high-contrast palette of the desktop is the user's choice, and the whole
// window follows it; the colours that carry a meaning stay, in black text.
TEST_F(Theme, AHighContrastPaletteIsFollowed) {
    put("Moku.txt", "2\r\n");
    put("Kiroku.txt",
        EncodeCp932(QStringLiteral("\"1\",\"みそ汁\",\"\",\"2.5\"\r\n\"0\",\"パン\",\"\",\"\"\r\n")));
    Form1& w = start();
    QPalette high(Qt::white, Qt::black);
    high.setColor(QPalette::Base, Qt::black);
    high.setColor(QPalette::Text, Qt::white);
    high.setColor(QPalette::Button, Qt::black);
    high.setColor(QPalette::ButtonText, Qt::white);
    high.setColor(QPalette::Highlight, QColor(255, 255, 0));
    high.setColor(QPalette::HighlightedText, Qt::black);
    ASSERT_TRUE(IsHighContrast(high));
    EXPECT_FALSE(IsHighContrast(LightPalette())) << "the program's own look is no high-contrast scheme";
    EXPECT_FALSE(IsHighContrast(QApplication::palette())) << "the dark desktop of this suite";
    QApplication::setPalette(high);
    QEvent theme(QEvent::ThemeChange);
    QApplication::sendEvent(&w, &theme);
    QApplication::processEvents();
    w.ShowStatus(QStringLiteral("日付が誤っています"));

    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(Background(w.Text1_0()), QColor(Qt::black)) << "a plain box";
    EXPECT_EQ(w.Text1_0()->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(w.Label3()->palette().color(QPalette::WindowText), QColor(Qt::white)) << "no red";
    EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon) << "over the target, still told by colour";
    EXPECT_EQ(w.LabelEnbun()->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(w.Text1_0()->palette().color(QPalette::Highlight), QColor(255, 255, 0));
    EXPECT_TRUE(unreadable().isEmpty()) << qPrintable(unreadable().join("; "));

    // Back to an ordinary desktop: the program's own light look again.
    QApplication::setPalette(desktop);
    QApplication::sendEvent(&w, &theme);
    QApplication::processEvents();
    expectColourCoding(w, 0);
    EXPECT_EQ(Background(w.Text1_0()), colour::White);
}

}  // namespace
}  // namespace morv::test
