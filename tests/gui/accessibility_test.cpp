// Every control a screen-reader user can act on must say what it is. The walk
// opens each screen and asks every visible widget for the name the
// accessibility layer would give; a screen added later only needs its entry in
// Screens.

#include "../unit/storage_test_support.h"
#include "SaltListFixture.h"
#include "exchange/DataDialog.h"
#include "exchange/PreviewBar.h"
#include "exchange/core/ExchangeFiles.h"
#include "grid/ItemGrid.h"
#include "log/DeletionPanel.h"
#include "platform/Announce.h"
#include "platform/CalendarControl.h"
#include "seasoning/SeasoningPanel.h"
#include "seasoning/SeasoningStrip.h"
#include "selected/SelectedItemsPanel.h"
#include "text/Cp932.h"
#include "ui/ProgramIcon.h"
#include "ui/Shortcuts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <functional>

namespace morv::test {
namespace {

bool isInput(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QCalendarWidget*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w);
}

// A calendar's month buttons or a spin box's text are parts Qt names with the
// whole; the whole is what is checked.
bool insideComposite(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QCalendarWidget*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
            qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    return false;
}

QString spokenName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

// A name of signs only ("<", "-") tells nothing.
bool saysSomething(const QString& name) {
    static const QRegularExpression letterOrDigit(QStringLiteral("[\\p{L}\\p{N}]"));
    return name.contains(letterOrDigit);
}

class Accessibility : public SaltListFixture {
protected:
    // Visible inputs without a usable name, and every name heard.
    QStringList walk(QStringList& heard) {
        QApplication::processEvents();
        QStringList unnamed;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (!w->isVisible() || !isInput(w) || insideComposite(w)) continue;
            const QString name = spokenName(w);
            heard << name;
            if (!saysSomething(name))
                unnamed << QStringLiteral("%1 (%2) \"%3\"")
                               .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()), name);
        }
        return unnamed;
    }
};

struct Screen {
    const char* name;
    std::function<void(Form1&)> open;
    QStringList mustHear;
};

TEST_F(Accessibility, EveryVisibleInputOfEveryScreenHasAName) {
    const Screen screens[] = {
        {"main view",
         [](Form1&) {},
         {"日付", "塩分目標", "1ページ 品名 1", "1ページ 品名 16", "1ページ ナトリウム 1", "1ページ 塩分 16",
          "チェック 1", "ページ 1 表示中", "ページ 10", "パッケージ重量"}},
        {"date calendar", [](Form1& w) { w.Command16()->click(); }, {"日付のカレンダー"}},
        {"deletion panel", [](Form1& w) { w.Command30()->click(); }, {"データ削除", "塩分一覧削除"}},
        {"data dialog",
         [](Form1& w) { w.Command8()->click(); },
         {"データファイル出力", "塩分一覧ファイル入力"}},
        {"preview bar", [](Form1& w) { w.Picture3()->Begin("a.TXT"); }, {"上書き"}},
        {"salt list", [](Form1& w) { w.Command3()->click(); }, {"ページ", "前のページ", "次のページ"}},
        {"salt list, import pending",
         [](Form1& w) {
             w.diary().BeginLogImport({});
             w.Command3()->click();
         },
         {"上書き", "キャンセル"}},
        {"blood pressure",
         [](Form1& w) {
             w.Command3()->click();
             w.PictureE()->Command40->click();
             w.PictureE()->Command35->click();
         },
         {"血圧の日付", "最低血圧", "最高血圧", "血圧の日付のカレンダー", "血圧表示を右へ"}},
        {"seasoning calculator",
         [](Form1& w) {
             w.Picture7()->Command43->click();
             w.PictureCho()->Command48->click();
         },
         {"食塩(小さじ) チェック", "和風だし(小さじ) チェック", "調味料名 20", "単位 20", "塩分 1",
          "リセット 20", "x2 1", "1/5 20", "その他の塩分", "計算する塩分", "倍率", "x3 その他の塩分計算",
          "計", "戻る"}},
        {"selected items",
         [](Form1& w) {
             w.diary().SetItem(0, {"1", "味噌汁", "", "1.5"});
             w.diary().SetItem(17, {"1", "漬物", "", "0.8"});
             w.Command13()->click();
         },
         {"ページ", "前のページ", "次のページ", "表示", "戻る"}},
    };
    for (const Screen& s : screens) {
        SCOPED_TRACE(s.name);
        start();
        s.open(*form);
        QStringList heard;
        const QStringList unnamed = walk(heard);
        EXPECT_TRUE(unnamed.isEmpty()) << qPrintable(unnamed.join(QStringLiteral("; ")));
        for (const QString& name : s.mustHear) EXPECT_TRUE(heard.contains(name)) << qPrintable(name);
        form.reset();
    }
}

TEST_F(Accessibility, SaltListRowsSayTheirDateSaltAndReading) {
    LogList log = days(25, QDate(2024, 1, 1));
    log[24].DaySalt = "7.5";
    log[24].PressureLow = "80";
    log[24].PressureHigh = "125";
    log[3].DaySalt = "4";
    put("Moku.txt", "6\r\n");
    SaltListScreen& s = openWith(std::move(log));
    s.Command40->click();

    // The last page: 2024/01/21 .. 2024/01/25.
    EXPECT_EQ(spokenName(s.LabelE1[4]), "日付 2024/01/25");
    EXPECT_EQ(spokenName(s.LabelE2[4]), "塩分 7.5 グラム、目標超過");
    EXPECT_EQ(spokenName(s.LabelE4[4]), "血圧 80-125");
    EXPECT_EQ(spokenName(s.LabelE2[0]), "塩分 5 グラム");

    // The names follow the rows to another page.
    s.PreviousPage();
    EXPECT_EQ(spokenName(s.LabelE1[3]), "日付 2024/01/04");
    EXPECT_EQ(spokenName(s.LabelE2[3]), "塩分 4 グラム");
}

// Every widget a screen reader reaches by walking down from the window.
void reachable(QAccessibleInterface* node, QSet<QObject*>& out) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child) continue;
        out.insert(child->object());
        reachable(child, out);
    }
}

TEST_F(Accessibility, ValuesAreHeardAndCoveredControlsAreNot) {
    put("Moku.txt", "3\r\n");
    Form1& w = start();
    ItemGrid& g = *w.Grid();
    EXPECT_EQ(spokenName(g.Check[0]), "チェック 1");
    g.TextName[0]->setText(QStringLiteral("みそ汁"));
    g.TextEnbun[0]->setText(QStringLiteral("3.8"));
    g.Check[0]->click();
    EXPECT_EQ(spokenName(g.Check[0]), "みそ汁 チェック");
    EXPECT_EQ(spokenName(w.LabelEnbun()), "塩分合計 3.8 グラム、目標超過");
    g.TextEnbun[0]->setText(QStringLiteral("2"));
    w.EnbunGoukei();
    EXPECT_EQ(spokenName(w.LabelEnbun()), "塩分合計 2 グラム");

    w.Picture7()->Command43->click();
    SeasoningPanel& calc = *w.PictureCho();
    calc.CheckC[0]->click();
    EXPECT_EQ(spokenName(calc.LabelEnbunC), "調味料の塩分合計 6 グラム");
    calc.TextNameC[1]->clear();
    EXPECT_EQ(spokenName(calc.CheckC[1]), "チェック 2") << "a nameless row by its number";

    // While the calculator covers the window, the main view is out of reach;
    // a dialog over the command column hides only the commands under it.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form.get());
    QSet<QObject*> heard;
    reachable(window, heard);
    EXPECT_TRUE(heard.contains(calc.CheckC[0]));
    for (QWidget* covered :
         std::initializer_list<QWidget*>{g.TextName[0], w.Command2(), w.Command1(), w.LabelEnbun()})
        EXPECT_FALSE(heard.contains(covered)) << qPrintable(covered->objectName());
    calc.Command46->click();
    EXPECT_EQ(spokenName(w.LabelEnbunR()), "移す調味料の塩分 6 グラム");
    w.Command8()->click();
    heard.clear();
    reachable(window, heard);
    EXPECT_FALSE(heard.contains(w.Command2()));
    EXPECT_TRUE(heard.contains(w.Command1()));
    EXPECT_TRUE(heard.contains(g.TextName[0]));
}

// The announcement is the focused control's description until it loses the
// focus (the offscreen platform has no accessibility bridge to send it to).
TEST_F(Accessibility, ChangesAreToldWhereTheFocusIs) {
    put("Moku.txt", "3\r\n");
    Form1& w = start();
    ItemGrid& g = *w.Grid();
    auto heard = [&](QWidget* where, const QString& text) {
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), where);
        return where->accessibleDescription().contains(text);
    };
    g.TextName[0]->setText(QStringLiteral("みそ汁"));
    g.TextEnbun[0]->setText(QStringLiteral("3.8"));
    g.TextName[0]->setFocus();
    QTest::keyClick(g.TextName[0], Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(heard(g.TextName[0], "みそ汁 チェック オン、塩分合計 3.8 グラム、目標超過"));

    // The page: its button is checked and says so, a turn is told, the boxes carry it.
    EXPECT_TRUE(w.CommandP()[0]->isChecked());
    QTest::keyClick(g.TextName[0], Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_TRUE(heard(w.Text1_0(), "ページ 2"));
    // Orca 43 speaks a notification that appears, not the changed description.
    auto* notice = w.findChild<QWidget*>(QStringLiteral("SpokenNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice->isVisible(); }, 2000));
    QAccessibleInterface* said = QAccessible::queryAccessibleInterface(notice);
    EXPECT_EQ(said->role(), QAccessible::Notification);
    EXPECT_EQ(said->text(QAccessible::Name), "ページ 2");
    EXPECT_EQ(spokenName(w.CommandP()[1]), "ページ 2 表示中");
    EXPECT_TRUE(w.CommandP()[1]->isChecked());
    EXPECT_FALSE(w.CommandP()[0]->isChecked());
    EXPECT_EQ(spokenName(g.TextName[0]), "2ページ 品名 1");
    // A screen reader's action on a page button turns the page, whichever it asks.
    for (const QString& action :
         {QAccessibleActionInterface::toggleAction(), QAccessibleActionInterface::pressAction()}) {
        QAccessibleInterface* third = QAccessible::queryAccessibleInterface(w.CommandP()[2]);
        EXPECT_TRUE(third->state().checkable);
        third->actionInterface()->doAction(action);
        QApplication::processEvents();
        EXPECT_EQ(spokenName(g.TextName[0]), "3ページ 品名 1") << qPrintable(action);
        EXPECT_TRUE(third->state().checked);
        EXPECT_FALSE(w.CommandP()[1]->isChecked());
        QTest::keyClick(w.Text1_0(), Qt::Key_PageUp, Qt::ControlModifier);
    }
    EXPECT_EQ(g.TextName[0]->accessibleDescription(), keys::RowBox) << "its own description is back";

    // A status-line hint, once.
    QTest::keyClick(w.Text1_0(), Qt::Key_PageUp, Qt::ControlModifier);
    QApplication::processEvents();
    g.TextEnbun[0]->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(g.TextEnbun[0], "12");
    EXPECT_TRUE(heard(g.TextEnbun[0], w.Label3()->text()));

    // A reading registered on the salt list.
    w.diary().LoadDailyLog(days(3, QDate(2024, 1, 3)));
    w.Command3()->click();
    SaltListScreen& s = *w.PictureE();
    s.Command40->click();
    s.Command35->click();
    s.Text2->setText(QStringLiteral("2024/01/04"));
    s.Text5->setText(QStringLiteral("80"));
    s.Text6->setText(QStringLiteral("125"));
    s.Text6->setFocus();
    QTest::keyClick(s.Text6, Qt::Key_Return);
    EXPECT_EQ(w.DailyLog()[1].PressureHigh, "125");
    EXPECT_TRUE(heard(s.Text5, "血圧 125/80 を登録しました"));
}

// What the focused control does not show for itself is told from it, and a
// value is carried whole in the description Orca reads on focus (it drops the
// value's last character). Each row: what happens, and the words the control
// that has the focus afterwards must carry.
TEST_F(Accessibility, WhatTheFocusedControlDoesNotShowIsTold) {
    QString items;
    for (int i = 0; i < 61; ++i) items += QStringLiteral("\"1\",\"item %1\",\"\",\"0.5\"\r\n").arg(i);
    put("Kiroku.txt", EncodeCp932(items));
    WriteBytes(home.path() + "/utf8.TXT",
               QStringLiteral("\"2024/01/05\",\"\",\"\",\"\"\r\n\"1\",\"みそ\",\"\",\"1\"\r\n").toUtf8());
    Form1& w = start();
    w.diary().LoadDailyLog(days(45, QDate(2024, 1, 1)));
    ItemGrid& g = *w.Grid();
    SaltListScreen& s = *w.PictureE();
    auto press = [](QWidget* control, int key, Qt::KeyboardModifiers mods = {}) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key(key), mods);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        QString heard;
    } rows[] = {
        {"a value on focus",
         [&] {
             w.Grid()->TextEnbun[1]->setText(QStringLiteral("1.52"));
             w.Grid()->TextEnbun[1]->setFocus();
         },
         QStringLiteral("1.52、") + keys::RowBox},
        {"a letter dropped from a number box", [&] { press(g.TextNa[0], Qt::Key_A); },
         QStringLiteral("「a」は入りません、数字と小数点だけです")},
        {"a box's cap",
         [&] {
             w.TextMoku()->setText(QStringLiteral("12345678"));
             w.TextMoku()->setFocus();
             w.TextMoku()->end(false);
             QTest::keyClicks(w.TextMoku(), "9");
         },
         QStringLiteral("8文字までです")},
        {"why an import was refused",
         [&] {
             w.Command8()->click();
             dialogs.fileChoices = {home.path() + "/utf8.TXT"};
             w.Picture2()->Command6->click();
         },
         NotCp932Text},
        {"a page of the selected list",
         [&] {
             w.Picture2()->Command7->click();
             w.Command13()->click();
             press(w.PictureH()->TextPAGE2, Qt::Key_PageDown, Qt::ControlModifier);
         },
         QStringLiteral("ページ 2")},
        {"a page of the salt list",
         [&] {
             w.PictureH()->Command19->click();
             w.Command3()->click();
             press(s.TextPAGE, Qt::Key_PageUp, Qt::ControlModifier);
         },
         QStringLiteral("ページ 2")},
        {"blood pressure shown", [&] { press(s.Command40, Qt::Key_Space); },
         QStringLiteral("血圧を表示しました、ボタンは 血圧非表示")},
        {"blood pressure hidden", [&] { press(s.Command40, Qt::Key_Space); },
         QStringLiteral("血圧を隠しました、ボタンは 血圧表示")},
    };
    for (const auto& row : rows) {
        row.act();
        QApplication::processEvents();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << row.what;
        EXPECT_TRUE(focus->accessibleDescription().contains(row.heard))
            << row.what << ": " << qPrintable(focus->objectName()) << " \""
            << qPrintable(focus->accessibleDescription()) << "\"";
    }

    // Told while a message box is open, it waits for the box to close: the
    // box would take the words with it.
    QMessageBox box(QMessageBox::NoIcon, ProgramTitle, QStringLiteral("お知らせ"), QMessageBox::Ok, &w);
    box.setWindowModality(Qt::ApplicationModal);
    box.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    Announce(QStringLiteral("理由"));
    QTest::qWait(50);
    EXPECT_FALSE(QApplication::focusWidget()->accessibleDescription().contains("理由"));
    box.accept();
    w.activateWindow();  // as the window manager does
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QApplication::focusWidget()->accessibleDescription().contains("理由"); }, 1000));
}

// Qt's day grid calls its current day focused even when hidden, so a tool
// looking for the focus found two.
TEST_F(Accessibility, AHiddenCalendarLeavesTheTree) {
    Form1& w = start();
    std::function<int(QAccessibleInterface*)> focusedCells = [&](QAccessibleInterface* a) {
        int count = a->role() == QAccessible::Cell && a->state().focused ? 1 : 0;
        for (int i = 0; i < a->childCount(); ++i)
            if (QAccessibleInterface* child = a->child(i)) count += focusedCells(child);
        return count;
    };
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
    QTest::mouseClick(w.Command16(), Qt::LeftButton);
    ASSERT_TRUE(w.Calendar1()->isVisible());
    QAccessibleInterface* calendar = QAccessible::queryAccessibleInterface(w.Calendar1().built());
    EXPECT_GT(calendar->childCount(), 0);
    EXPECT_EQ(focusedCells(window), 1) << "the shown calendar's day";

    QTest::keyClick(w.Calendar1().built(), Qt::Key_Escape);
    ASSERT_FALSE(w.Calendar1()->isVisible());
    EXPECT_TRUE(calendar->state().invisible);
    EXPECT_EQ(calendar->childCount(), 0);
    EXPECT_EQ(focusedCells(window), 0);
}

TEST_F(Accessibility, TheWindowCarriesTheProgramIcon) {
    const QIcon icon = start().windowIcon();
    ASSERT_FALSE(icon.isNull());
    // Drawn at each size: a rounded mark, see-through at its corners.
    for (const int size : {16, 24, 32, 48, 64}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
    }
}

}  // namespace
}  // namespace morv::test
