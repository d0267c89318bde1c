// The window's colours are its own: under a dark desktop theme every text
// still reads on the background it is drawn on.

#include "SaltListFixture.h"
#include "selected/SelectedItemsPanel.h"
#include "grid/ItemGrid.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "text/Cp932.h"

#include <QAbstractButton>
#include <QCheckBox>
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

    // Every shown text control whose text is too faint on its background.
    QStringList unreadable() const {
        QApplication::processEvents();
        QStringList out;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                                     qobject_cast<QAbstractButton*>(w)))
                continue;
            const double ratio = contrast(textOf(w), backgroundOf(w));
            if (ratio < 3.0) out << QStringLiteral("%1 %2").arg(w->objectName()).arg(ratio, 0, 'f', 2);
        }
        return out;
    }

    QPalette desktop;
};

TEST_F(Theme, EveryTextReadsOnItsBackgroundUnderADarkDesktop) {
    put("Moku.txt", "2\r\n");
    put("Kiroku.txt",
        EncodeCp932(QStringLiteral("\"1\",\"みそ汁\",\"\",\"2.5\"\r\n\"0\",\"パン\",\"\",\"\"\r\n")));
    Form1& w = start();
    w.diary().LoadDailyLog(days(25, QDate(2024, 1, 1)));
    EXPECT_EQ(w.palette().color(QPalette::Window), LightPalette().color(QPalette::Window));
    EXPECT_EQ(w.palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(Background(w.LabelEnbun()), colour::Salmon);
    EXPECT_EQ(Background(w.CommandP()[0]), colour::Salmon);
    EXPECT_EQ(Background(w.Grid()->TextName[0]), colour::Pink);
    EXPECT_TRUE(unreadable().isEmpty()) << qPrintable(unreadable().join("; "));

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

}  // namespace
}  // namespace morv::test
