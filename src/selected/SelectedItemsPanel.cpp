#include "selected/SelectedItemsPanel.h"

#include "diary/Diary.h"
#include "platform/Announce.h"
#include "platform/EscapeKey.h"
#include "platform/KeyRules.h"
#include "platform/TabRing.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace morv {

namespace {

constexpr int CellsPerColumn = 20;
constexpr int ColumnLeft = 14;
constexpr int ColumnStep = 320;
constexpr int NameWidth = 220;
constexpr int SaltWidth = 84;
constexpr int CellsTop = 78;
constexpr int CellStep = 29;
constexpr int CellHeight = 27;

QLabel* makeCell(QWidget* parent, const char* base, int k, const QRect& rect, Qt::Alignment align) {
    QLabel* cell = MakeLabel(parent, ArrayName(base, k), QString(), rect, align | Qt::AlignVCenter);
    cell->setFrameStyle(QFrame::Box | QFrame::Plain);
    cell->setAutoFillBackground(true);
    SetBackground(cell, colour::White);
    return cell;
}

}  // namespace

SelectedItemsPanel::SelectedItemsPanel(Diary& diary, StatusLine& status, QWidget* parent)
    : QFrame(parent), diary_(diary), status_(status) {
    SetUpPanel(this, QStringLiteral("PictureH"));

    Label28 =
        MakeLabel(this, QStringLiteral("Label28"), QStringLiteral("選択された品名一覧"), {16, 8, 300, 32});
    MakeBold(Label28, 14);
    Label29 = MakeLabel(this, QStringLiteral("Label29"), QStringLiteral("PAGE"), {380, 10, 44, 28},
                        Qt::AlignVCenter | Qt::AlignRight);
    TextPAGE2 = MakeBox(this, QStringLiteral("TextPAGE2"), {428, 10, 52, 28});
    TextPAGE2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TextPAGE2->setAccessibleName(QStringLiteral("ページ"));
    Label31 =
        MakeLabel(this, QStringLiteral("Label31"), QStringLiteral("/"), {484, 10, 14, 28}, Qt::AlignCenter);
    LabelPAGE2 = MakeLabel(this, QStringLiteral("LabelPAGE2"), QString(), {500, 10, 40, 28});
    Command21 =
        MakeButton(this, QStringLiteral("Command21"), QStringLiteral("<"), {548, 10, 36, 28}, Qt::ClickFocus);
    Command22 = MakeButton(this, QStringLiteral("Command22"), QStringLiteral("表示"), {588, 10, 64, 28},
                           Qt::ClickFocus);
    Command20 =
        MakeButton(this, QStringLiteral("Command20"), QStringLiteral(">"), {656, 10, 36, 28}, Qt::ClickFocus);
    Command21->setAccessibleName(QStringLiteral("前のページ"));
    Command20->setAccessibleName(QStringLiteral("次のページ"));
    Command19 = MakeButton(this, QStringLiteral("Command19"), QStringLiteral("戻る"), {861, 8, 104, 32},
                           Qt::ClickFocus);

    const char* nameHeads[] = {"Label34", "Label35", "Label36"};
    const char* saltHeads[] = {"Label30", "Label32", "Label33"};
    for (int column = 0; column < 3; ++column) {
        const int left = ColumnLeft + ColumnStep * column;
        MakeLabel(this, QLatin1String(nameHeads[column]), QStringLiteral("品名"), {left, 52, NameWidth, 22},
                  Qt::AlignCenter);
        MakeLabel(this, QLatin1String(saltHeads[column]), QStringLiteral("塩分（グラム）"),
                  {left + NameWidth + 2, 52, SaltWidth, 22}, Qt::AlignCenter);
    }
    for (int k = 0; k < ListCellsPerPage; ++k) {
        const int left = ColumnLeft + ColumnStep * (k / CellsPerColumn);
        const int top = CellsTop + CellStep * (k % CellsPerColumn);
        LabelH1[k] = makeCell(this, "LabelH1", k, {left, top, NameWidth, CellHeight}, Qt::AlignLeft);
        LabelH2[k] =
            makeCell(this, "LabelH2", k, {left + NameWidth + 2, top, SaltWidth, CellHeight}, Qt::AlignRight);
    }

    KeyRule pageRule;
    pageRule.chars = KeyRule::Chars::Digits;
    pageRule.maxTyped = 4;
    pageRule.onEnter = [this] { ShowPage(); };
    InstallKeyRule(TextPAGE2, std::move(pageRule));
    SelectAllOnFocus(TextPAGE2);
    WholeName = makeCell(this, "LabelWholeName", 0, {0, 0, NameWidth, CellHeight}, Qt::AlignLeft);
    WholeName->setObjectName(QStringLiteral("LabelWholeName"));
    WholeName->hide();
    // The arrow keys walk the names, so that a name cut short is read and
    // seen whole without the mouse; Tab goes back to the page box.
    TextPAGE2->installEventFilter(this);
    TextPAGE2->setAccessibleDescription(NamesByArrowsText);
    for (QLabel* cell : LabelH1) cell->installEventFilter(this);
    CloseOnEscape(this, [this] { PressIfShown(Command19); });
    Command19->setAccessibleDescription(keys::Back);
    for (QPushButton* page : {Command20, Command21}) page->setAccessibleDescription(keys::Pages);

    connect(Command22, &QPushButton::clicked, this, &SelectedItemsPanel::ShowPage);
    connect(Command20, &QPushButton::clicked, this, &SelectedItemsPanel::NextPage);
    connect(Command21, &QPushButton::clicked, this, &SelectedItemsPanel::PreviousPage);
    connect(Command19, &QPushButton::clicked, this, &QWidget::hide);
    // A snapshot taken at opening: a row filled meanwhile (from the food
    // table's own window) shows at the next opening.
    hide();
}

int SelectedItemsPanel::pageCount() const { return ListPageCount(static_cast<int>(SelectedItems.size())); }

bool SelectedItemsPanel::focusNextPrevChild(bool next) {
    if (!isVisible()) return QFrame::focusNextPrevChild(next);
    return MoveFocusInRing({TextPAGE2}, next);
}

void SelectedItemsPanel::Open() {
    status_.ResetStatusLine();
    setGeometry(0, 0, TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    SelectedItems = BuildSelectedItems(diary_.ItemTable());
    TextPAGE2->setText(QStringLiteral("1"));
    LabelPAGE2->setText(QString::number(pageCount()));
    FillItemListPage(1);
    raise();
    show();
    // Also with nothing listed: the focus must not stay on the covered window.
    TextPAGE2->setFocus();
}

void SelectedItemsPanel::FillItemListPage(int page) {
    shownPage_ = page;
    const size_t first = static_cast<size_t>(page - 1) * ListCellsPerPage;
    for (int k = 0; k < ListCellsPerPage; ++k) {
        const size_t entry = first + static_cast<size_t>(k);
        if (entry < SelectedItems.size()) {
            showName(LabelH1[k], SelectedItems[entry].name);
            LabelH2[k]->setText(SaltCellText(SelectedItems[entry].salt));
        } else {
            showName(LabelH1[k], QString());
            LabelH2[k]->clear();
        }
    }
}

void SelectedItemsPanel::showName(QLabel* cell, const QString& name) {
    // A name too long for its cell ends in "…"; the whole of it is in the
    // tooltip, in what a screen reader says, and shown when the arrow keys
    // reach the cell.
    const QString text = NameCellText(name);
    const int room = cell->contentsRect().width() - 2 * cell->margin();
    const QString shown = cell->fontMetrics().elidedText(text, Qt::ElideRight, room);
    if (name.isEmpty() && cell->hasFocus()) TextPAGE2->setFocus();
    cell->setText(name.isEmpty() ? QString() : shown);
    cell->setToolTip(shown == text ? QString() : name);
    cell->setAccessibleName(name);
}

bool SelectedItemsPanel::eventFilter(QObject* watched, QEvent* event) {
    const auto at = std::find(LabelH1.begin(), LabelH1.end(), watched);
    const int k = at == LabelH1.end() ? -1 : int(at - LabelH1.begin());
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Only the keys give a name the focus; a click on it does what it did.
        if (watched == TextPAGE2 && key == Qt::Key_Down && !LabelH1[0]->text().isEmpty()) {
            LabelH1[0]->setFocus(Qt::OtherFocusReason);
            return true;
        }
        int step = 0;
        if (key == Qt::Key_Down) step = 1;
        if (key == Qt::Key_Up) step = -1;
        if (key == Qt::Key_Right) step = CellsPerColumn;
        if (key == Qt::Key_Left) step = -CellsPerColumn;
        if (k >= 0 && step != 0) {
            const int to = k + step;
            if (to >= 0 && to < ListCellsPerPage && !LabelH1[to]->text().isEmpty())
                LabelH1[to]->setFocus(Qt::OtherFocusReason);
            else if (to < 0)
                TextPAGE2->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    if (k >= 0 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        QLabel* cell = LabelH1[k];
        const bool in = event->type() == QEvent::FocusIn;
        cell->setLineWidth(in ? 2 : 1);
        // Not a tooltip: the next key's release would take that away.
        if (in && !cell->toolTip().isEmpty()) {
            WholeName->setText(cell->toolTip());
            WholeName->adjustSize();
            WholeName->resize(std::min(WholeName->width(), width()), cell->height());
            const QPoint below = cell->geometry().bottomLeft() + QPoint(0, 2);
            WholeName->move(std::min(below.x(), width() - WholeName->width()), below.y());
            WholeName->raise();
            WholeName->show();
        } else {
            WholeName->hide();
        }
    }
    return QFrame::eventFilter(watched, event);
}

void SelectedItemsPanel::ShowPage() {
    if (SelectedItems.empty()) {
        TextPAGE2->setText(QStringLiteral("1"));
        TextPAGE2->setFocus();
        return;
    }
    const int page = ClampListPage(PageBoxValue(TextPAGE2->text(), shownPage_), pageCount());
    TextPAGE2->setText(QString::number(page));
    FillItemListPage(page);
    TextPAGE2->setFocus();
    TextPAGE2->selectAll();
    Announce(QStringLiteral("ページ %1").arg(page));
}

void SelectedItemsPanel::step(int page) {
    if (!SelectedItems.empty()) {
        TextPAGE2->setText(QString::number(page));
        ShowPage();
    } else {
        TextPAGE2->setFocus();
    }
}

void SelectedItemsPanel::NextPage() {
    step(NextListPage(PageBoxValue(TextPAGE2->text(), shownPage_), pageCount()));
}

void SelectedItemsPanel::PreviousPage() {
    step(PreviousListPage(PageBoxValue(TextPAGE2->text(), shownPage_), pageCount()));
}

}  // namespace morv
