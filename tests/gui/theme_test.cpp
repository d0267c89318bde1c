// The window's colours are its own: under a dark desktop theme every text
// still reads on the background it is drawn on, and the colour coding stays
// through a change of theme while the program runs. The suite also runs under
// GTK's dark style (see tests/CMakeLists.txt), where the desktop's palette is
// dark from the start.

#include "SaltListFixture.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "text/Cp932.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QStyleFactory>
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

}  // namespace
}  // namespace morv::test
