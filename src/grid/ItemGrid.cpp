#include "grid/ItemGrid.h"

#include "diary/Diary.h"
#include "grid/core/ItemRows.h"
#include "platform/AccessibleTree.h"
#include "platform/Announce.h"
#include "platform/FocusReason.h"
#include "platform/KeyPaths.h"
#include "platform/KeyRules.h"
#include "storage/Records.h"
#include "text/NumericText.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/DateBox.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"
#include "ui/WaitingValues.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace morv {

static const QString EnterHintText =
    QStringLiteral("チェック済の項目の塩分を入力した場合、エンターキーを押して下さい");

namespace {

static_assert(ItemGrid::Rows == GridRows && ItemGrid::Pages == GridPages);

// Two lines of 18 pixels in a 38-pixel row panel with a one-pixel frame.
constexpr int LineHeight = 18;
constexpr int FirstLine = 1;
constexpr int SecondLine = FirstLine + LineHeight;
constexpr int RowFontPoints = 8;

// Only a real change of colour goes to the widget: a name box is repainted on
// every keystroke, and an unchanged palette would still cost a repaint.
void paint(QWidget* widget, const QColor& colour) {
    if (Background(widget) != colour) SetBackground(widget, colour);
}

template <class W>
W* rowControl(QFrame* panel, const char* base, int row, const QRect& rect) {
    auto* widget = new W(panel);
    widget->setObjectName(ArrayName(base, row));
    widget->setGeometry(rect);
    return widget;
}

}  // namespace

ItemGrid::ItemGrid(Diary& diary, Dialogs& dialogs, StatusLine& status, DateBox& date,
                   const WaitingValues& waiting, const std::array<QFrame*, Rows>& rowPanels,
                   const std::array<QPushButton*, Pages>& pageButtons, QObject* parent)
    : QObject(parent),
      diary_(diary),
      dialogs_(dialogs),
      status_(status),
      date_(date),
      waiting_(waiting),
      rowPanels_(rowPanels),
      pageButtons_(pageButtons) {
    for (int row = 0; row < Rows; ++row) {
        buildRow(row);
        wireRow(row);
    }
    for (int page = 0; page < Pages; ++page) {
        // Checked: the page shown, told by more than its colour.
        pageButtons_[page]->setCheckable(true);
        ActionsClickButton(pageButtons_[page]);
        connect(pageButtons_[page], &QPushButton::clicked, this, [this, page] { onPageClicked(page); });
    }
    connect(&diary_, &Diary::itemChanged, this, &ItemGrid::itemChanged);
    connect(&diary_, &Diary::itemsReplaced, this, [this] {
        ShowItemPage(0);
        ClearSelection();
    });
}

void ItemGrid::itemChanged(int changed) {
    for (int r = 0; r < Rows; ++r) {
        if (changed >= 0 && slot(r) != changed) continue;
        loadRow(r, false);
        PaintItemRow(r);
    }
    PaintPageButtons();
}

void ItemGrid::buildRow(int r) {
    // The row's controls take their smaller font from the panel.
    QFrame* panel = rowPanels_[r];
    QFont font = panel->font();
    font.setPointSize(RowFontPoints);
    panel->setFont(font);

    auto label = [&](const char* base, const QString& caption, const QRect& rect, Qt::Alignment align) {
        return MakeLabel(panel, ArrayName(base, r), caption, rect, align | Qt::AlignVCenter);
    };
    auto button = [&](const char* base, const QString& caption, const QRect& rect) {
        auto* b = rowControl<QPushButton>(panel, base, r, rect);
        b->setText(caption);
        b->setAutoDefault(false);
        // Buttons and ticks are reached by the mouse only; Tab runs through the boxes.
        b->setFocusPolicy(Qt::ClickFocus);
        return b;
    };
    auto box = [&](const char* base, const QRect& rect, Qt::Alignment align) {
        auto* e = rowControl<QLineEdit>(panel, base, r, rect);
        e->setAlignment(align | Qt::AlignVCenter);
        e->setTextMargins(1, 0, 1, 0);
        return e;
    };

    // Line 1: tick, name and the six portion buttons.
    Check[r] = rowControl<QCheckBox>(panel, "Check", r, {6, FirstLine, 18, LineHeight});
    Check[r]->setFocusPolicy(Qt::ClickFocus);
    LabelName[r] = label("LabelName", QStringLiteral("品名"), {26, FirstLine, 30, LineHeight}, Qt::AlignLeft);
    TextName[r] = box("TextName", {58, FirstLine, 308, LineHeight}, Qt::AlignLeft);
    const std::pair<std::array<QPushButton*, Rows>*, std::pair<const char*, const char*>> portions[] = {
        {&Command2b, {"Command2b", "x2"}},  {&Command3b, {"Command3b", "x3"}},
        {&Command5b, {"Command5b", "x5"}},  {&Command2w, {"Command2w", "1/2"}},
        {&Command3w, {"Command3w", "1/3"}}, {&Command5w, {"Command5w", "1/5"}},
    };
    int x = 372;
    for (const auto& [array, names] : portions) {
        (*array)[r] = button(names.first, QString::fromLatin1(names.second), {x, FirstLine, 34, LineHeight});
        x += 35;
    }

    // Line 2: sodium, its conversion, salt.
    LabelNa[r] =
        label("LabelNa", QStringLiteral("ナトリウム"), {26, SecondLine, 60, LineHeight}, Qt::AlignLeft);
    TextNa[r] = box("TextNa", {88, SecondLine, 76, LineHeight}, Qt::AlignRight);
    Labelmg[r] =
        label("Labelmg", QStringLiteral("ミリグラム"), {168, SecondLine, 60, LineHeight}, Qt::AlignLeft);
    CommandNa[r] = button("CommandNa", QStringLiteral("塩分換算"), {232, SecondLine, 70, LineHeight});
    TextEnbun[r] = box("TextEnbun", {308, SecondLine, 76, LineHeight}, Qt::AlignRight);
    Labelg[r] = label("Labelg", QStringLiteral("グラム"), {388, SecondLine, 44, LineHeight}, Qt::AlignLeft);

    SetBackground(TextName[r], colour::WindowBackground());
    SetBackground(TextNa[r], colour::White);
    SetBackground(TextEnbun[r], colour::White);

    // Sixteen rows have the same captions; a screen reader tells them apart by number.
    const std::pair<QWidget*, const char*> spoken[] = {
        {Check[r], "チェック"},   {TextName[r], "品名"},      {TextNa[r], "ナトリウム"},
        {TextEnbun[r], "塩分"},   {CommandNa[r], "塩分換算"}, {Command2b[r], "2倍"},
        {Command3b[r], "3倍"},    {Command5b[r], "5倍"},      {Command2w[r], "2分の1"},
        {Command3w[r], "3分の1"}, {Command5w[r], "5分の1"},
    };
    for (const auto& [widget, name] : spoken)
        widget->setAccessibleName(QStringLiteral("%1 %2").arg(QString::fromUtf8(name)).arg(r + 1));
    Check[r]->setAccessibleDescription(keys::RowTick);
    for (QWidget* box : {TextName[r], TextNa[r], TextEnbun[r]}) box->setAccessibleDescription(keys::RowBox);
    for (QWidget* command :
         {Command2b[r], Command3b[r], Command5b[r], Command2w[r], Command3w[r], Command5w[r], CommandNa[r]})
        command->setAccessibleDescription(keys::RowMenu);
}

void ItemGrid::nameTick(int r) {
    // The tick is heard as what it counts: the food, or its row while unnamed.
    const QString name = TrimBlanks(TextName[r]->text());
    Check[r]->setAccessibleName(name.isEmpty() ? QStringLiteral("チェック %1").arg(r + 1)
                                               : QStringLiteral("%1 チェック").arg(name));
}

void ItemGrid::wireRow(int r) {
    connect(Check[r], &QCheckBox::toggled, this, [this, r](bool ticked) { onTicked(r, ticked); });
    connect(TextName[r], &QLineEdit::textChanged, this, [this, r] { onNameChanged(r); });
    connect(TextNa[r], &QLineEdit::textChanged, this, [this, r] { onSodiumChanged(r); });
    connect(TextEnbun[r], &QLineEdit::textChanged, this, [this, r] { onSaltChanged(r); });

    const std::pair<QPushButton*, SaltOperation> portions[] = {
        {Command2b[r], SaltOperation::Times2}, {Command3b[r], SaltOperation::Times3},
        {Command5b[r], SaltOperation::Times5}, {Command2w[r], SaltOperation::Half},
        {Command3w[r], SaltOperation::Third},  {Command5w[r], SaltOperation::Fifth},
    };
    for (const auto& portion : portions) {
        const SaltOperation operation = portion.second;
        connect(portion.first, &QPushButton::clicked, this,
                [this, r, operation] { MultiplySaltRow(r, operation); });
    }
    connect(CommandNa[r], &QPushButton::clicked, this, [this, r] { ConvertSodiumRow(r); });

    for (QLineEdit* number : {TextNa[r], TextEnbun[r]}) {
        KeyRule rule;
        rule.chars = KeyRule::Chars::Decimal;
        rule.maxTyped = 6;
        rule.onSecondPoint = [this] { RefuseSecondPoint(dialogs_); };
        if (number == TextNa[r])
            rule.onEnter = [this, r] { ConvertSodiumRow(r); };
        else
            rule.onEnter = [this] { onSaltEnter(); };
        InstallKeyRule(number, std::move(rule));
    }
    auto* food = new QAction(QStringLiteral("食品成分表から選ぶ…"), this);
    food->setObjectName(ArrayName("FoodTable", r));
    connect(food, &QAction::triggered, this, [this, r] { emit foodTableRequested(slot(r)); });
    for (QLineEdit* box : {TextName[r], TextNa[r], TextEnbun[r]}) {
        connect(box, &QLineEdit::textEdited, this, [this] { edited_ = true; });
        SelectAllOnFocus(box);
        box->installEventFilter(this);
        RowKeys rowKeys;
        rowKeys.tick = Check[r];
        rowKeys.commands = {Command2b[r], Command3b[r], Command5b[r], Command2w[r],
                            Command3w[r], Command5w[r], CommandNa[r]};
        rowKeys.extras = {food};
        rowKeys.spaceOverNameTicks = box == TextName[r];
        InstallRowKeys(box, std::move(rowKeys));
    }
}

QList<QWidget*> ItemGrid::tabChain() const {
    QList<QWidget*> chain;
    for (int r = 0; r < Rows; ++r) chain += {TextName[r], TextNa[r], TextEnbun[r]};
    return chain;
}

int ItemGrid::slot(int row) const { return SlotOf(page_, row); }

int ItemGrid::CurrentSlot() const {
    const QWidget* focused = QApplication::focusWidget();
    for (int r = 0; r < Rows; ++r)
        if (focused == TextName[r] || focused == TextNa[r] || focused == TextEnbun[r]) return slot(r);
    return slot(selection_.sodium || selection_.salt ? std::clamp(selection_.row, 0, Rows - 1) : 0);
}

const ItemRecord* ItemGrid::record(int row) const {
    const int at = slot(row);
    if (at < 0 || at >= static_cast<int>(diary_.ItemTable().size())) return nullptr;
    return &diary_.ItemTable()[static_cast<size_t>(at)];
}

// ---- Showing and painting ----

void ItemGrid::ShowItemPage(int page) {
    page_ = std::clamp(page, 0, Pages - 1);
    for (int r = 0; r < Rows; ++r) {
        loadRow(r, true);
        PaintItemRow(r);
        // Every page has a "品名 1": the page goes with it.
        const std::pair<QWidget*, const char*> boxes[] = {
            {TextName[r], "品名"}, {TextNa[r], "ナトリウム"}, {TextEnbun[r], "塩分"}};
        for (const auto& [box, kind] : boxes)
            box->setAccessibleName(
                QStringLiteral("%1ページ %2 %3").arg(page_ + 1).arg(QString::fromUtf8(kind)).arg(r + 1));
    }
    PaintPageButtons();
}

void ItemGrid::loadRow(int r, bool whole) {
    const ItemRecord* item = record(r);
    if (!item) return;
    // Showing is not editing: the write-through handlers stay out of it, so an
    // odd tick value stays as it was. A box that already shows its value is
    // left alone, so that a row the user is typing in keeps its cursor (and
    // the blank typed after a word, which the stored name leaves off).
    const QSignalBlocker tick(Check[r]);
    const QSignalBlocker name(TextName[r]);
    const QSignalBlocker sodium(TextNa[r]);
    const QSignalBlocker salt(TextEnbun[r]);
    Check[r]->setChecked(ShowsTicked(item->Checked));
    if (whole || TrimBlanks(TextName[r]->text()) != TrimBlanks(item->ItemName))
        TextName[r]->setText(item->ItemName);
    if (whole || TextNa[r]->text() != item->Sodium) TextNa[r]->setText(item->Sodium);
    if (whole || TextEnbun[r]->text() != item->ItemSalt) TextEnbun[r]->setText(item->ItemSalt);
    nameTick(r);
    // What showing a row stores: "0" for an empty tick, and the name without
    // its surrounding blanks, as typing it would have (a name of blanks alone
    // names nothing). The diary announces the change, which shows the row again.
    const int at = slot(r);
    if (item->Checked.isEmpty()) diary_.SetChecked(at, QStringLiteral("0"));
    if (const ItemRecord* now = record(r); now && TrimBlanks(now->ItemName) != now->ItemName)
        diary_.SetItemName(at, TrimBlanks(now->ItemName));
}

void ItemGrid::PaintItemRow(int r) {
    if (r < 0 || r >= Rows) return;
    const ItemRecord* item = record(r);
    const QColor panel = item && !item->ItemName.isEmpty() ? colour::Peach : colour::ButtonFace();
    for (QWidget* w : std::initializer_list<QWidget*>{rowPanels_[r], Check[r], LabelName[r], LabelNa[r],
                                                      Labelmg[r], Labelg[r]})
        paint(w, panel);
    paintNameBox(r);
}

void ItemGrid::paintNameBox(int r) {
    const bool pink = Check[r]->isChecked() && !TrimBlanks(TextName[r]->text()).isEmpty();
    paint(TextName[r], pink ? colour::Pink : colour::WindowBackground());
}

void ItemGrid::PaintPageButtons() {
    for (int page = 0; page < Pages; ++page) {
        QColor colour = colour::White;
        switch (MarkOfPage(diary_.ItemTable(), page)) {
            case PageMark::Empty:
                break;
            case PageMark::Named:
                colour = colour::LightYellow;
                break;
            case PageMark::Counted:
                colour = colour::LightOrange;
                break;
        }
        if (page == page_) colour = colour::Salmon;
        paint(pageButtons_[page], colour);
        pageButtons_[page]->setChecked(page == page_);
        pageButtons_[page]->setAccessibleName(page == page_ ? QStringLiteral("ページ %1 表示中").arg(page + 1)
                                                            : QStringLiteral("ページ %1").arg(page + 1));
    }
}

// ---- Handlers ----

void ItemGrid::onPageClicked(int page) {
    // A salt box being edited finishes its focus-loss handling (and with it the
    // total) on its own page before the rows change under it.
    date_.FocusDateBox();
    QCoreApplication::processEvents();
    status_.ResetStatusLine();
    date_.HideCalendar();
    if (page == page_) return pageButtons_[page]->setChecked(true);  // a click unchecks it
    ShowItemPage(page);
    ClearSelection();
    Announce(QStringLiteral("ページ %1").arg(page + 1));
}

void ItemGrid::ClearSelection() {
    const int previous = std::clamp(selection_.row, 0, Rows - 1);
    SetBackground(TextNa[previous], colour::White);
    SetBackground(TextEnbun[previous], colour::White);
    selection_ = {};
}

QLineEdit* ItemGrid::selectedBox() const {
    if (!selection_.sodium && !selection_.salt) return nullptr;
    const int row = std::clamp(selection_.row, 0, Rows - 1);
    return selection_.sodium ? TextNa[row] : TextEnbun[row];
}

void ItemGrid::PutIntoSelectedBox(const QString& text) {
    QLineEdit* box = selectedBox();
    if (!box) return;
    const int row = std::clamp(selection_.row, 0, Rows - 1);
    if (record(row)) {
        if (selection_.salt) {
            diary_.SetItemSalt(slot(row), text);
            diary_.FinishDraft(slot(row));
        } else {
            diary_.SetSodium(slot(row), text);
        }
    }
    box->setFocus();
    SetBackground(box, colour::White);
}

QString ItemGrid::SelectedBoxText() const {
    const QLineEdit* box = selectedBox();
    return box ? box->text() : QString();
}

void ItemGrid::MarkSelectedBox(bool marked) {
    if (QLineEdit* box = selectedBox()) SetBackground(box, marked ? colour::Yellow : colour::White);
}

void ItemGrid::onTicked(int r, bool ticked) {
    status_.ResetStatusLine();
    // Ticked from the row's box by keys: the tick itself is not where the focus
    // is. Said before the total it makes.
    if (!Check[r]->hasFocus()) Announce(TickedText(Check[r]->accessibleName(), ticked));
    if (record(r)) diary_.SetChecked(slot(r), ticked ? QStringLiteral("1") : QStringLiteral("0"));
    paintNameBox(r);
}

void ItemGrid::onNameChanged(int r) {
    if (record(r)) diary_.SetItemName(slot(r), TrimBlanks(TextName[r]->text()));
    nameTick(r);
    PaintItemRow(r);
}

void ItemGrid::onSodiumChanged(int r) {
    if (record(r)) diary_.SetSodium(slot(r), TextNa[r]->text());
}

void ItemGrid::onSaltChanged(int r) {
    // The total waits for Enter, or for the box to be left.
    if (record(r)) diary_.DraftItemSalt(slot(r), TextEnbun[r]->text());
    if (status_.EnterPrompt()) status_.ShowStatus(EnterHintText);
}

bool ItemGrid::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    if ((!in && event->type() != QEvent::FocusOut) || !MovesBetweenControls(static_cast<QFocusEvent*>(event)))
        return QObject::eventFilter(watched, event);
    // A keyboard user reaches the weight panel only by tabbing through every
    // box after the one they meant: a box Tab merely passes through (entered
    // by Tab right after another box was left by Tab untouched) does not take
    // the selection until something is typed into it.
    const auto* focus = static_cast<QFocusEvent*>(event);
    const bool passingThrough = in && passing_ && LeftByTab(focus);
    if (in) {
        edited_ = false;
    } else {
        passing_ = LeftByTab(focus) && !edited_;
    }
    for (int r = 0; r < Rows; ++r) {
        if (watched == TextName[r]) {
            if (in) {
                status_.ResetStatusLine();
                date_.HideCalendar();
            }
        } else if (watched == TextNa[r]) {
            if (in) passingThrough ? passedArea(r, false) : onAreaFocused(r, false);
        } else if (watched == TextEnbun[r]) {
            if (in)
                passingThrough ? passedArea(r, true) : onAreaFocused(r, true);
            else
                onSaltLeft(r);
        } else {
            continue;
        }
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ItemGrid::passedArea(int r, bool salt) {
    status_.ResetStatusLine();
    date_.HideCalendar();
    QLineEdit* box = salt ? TextEnbun[r] : TextNa[r];
    // The first thing typed makes it the selected box after all.
    auto* typed = new QObject(box);
    connect(box, &QLineEdit::textEdited, typed, [this, r, salt, typed] {
        if (typed->property("done").toBool()) return;
        typed->setProperty("done", true);
        typed->deleteLater();
        onAreaFocused(r, salt);
    });
    connect(box, &QLineEdit::editingFinished, typed, [typed] { typed->deleteLater(); });
}

void ItemGrid::onAreaFocused(int r, bool salt) {
    status_.ResetStatusLine();
    date_.HideCalendar();
    const int previous = std::clamp(selection_.row, 0, Rows - 1);
    SetBackground(TextNa[previous], colour::White);
    SetBackground(TextEnbun[previous], colour::White);
    selection_ = {!salt, salt, r};
    QLineEdit* box = salt ? TextEnbun[r] : TextNa[r];
    // The box is now where a weight conversion, or a carried seasoning total,
    // will land.
    if (waiting_.WeightPending()) SetBackground(box, colour::Yellow);
    if (!salt) return;
    if (waiting_.CarriedSalt() != u"0") SetBackground(box, colour::Yellow);
    if (!TextName[r]->text().isEmpty() && Check[r]->isChecked()) status_.SetEnterPrompt(true);
}

void ItemGrid::onSaltEnter() {
    const int row = std::clamp(selection_.row, 0, Rows - 1);
    if (record(row)) diary_.FinishDraft(slot(row));
    status_.ResetStatusLine();
}

void ItemGrid::onSaltLeft(int r) {
    status_.ResetStatusLine();
    status_.SetEnterPrompt(false);
    if (!TextName[r]->text().isEmpty() && Check[r]->isChecked() && record(r)) diary_.FinishDraft(slot(r));
}

// ---- Conversions ----

void ItemGrid::ConvertSodiumRow(int r) {
    if (r < 0 || r >= Rows) return;
    status_.ResetStatusLine();
    date_.HideCalendar();
    const QString sodium = TextNa[r]->text();
    const auto salt = SodiumToSalt(sodium);
    if (record(r)) {
        if (salt) diary_.SetItemSalt(slot(r), *salt);
        // The total counts the row's salt as it now stands, typed or converted.
        diary_.FinishDraft(slot(r));
        // The sodium has been used up; only a number too large to convert is
        // kept, so that nothing the user typed or pasted is lost without a result.
        if (salt || !IsNumeric(sodium)) diary_.SetSodium(slot(r), QString());
    }
    TextEnbun[r]->setFocus();
}

void ItemGrid::MultiplySaltRow(int r, SaltOperation operation) {
    if (r < 0 || r >= Rows) return;
    status_.ResetStatusLine();
    date_.HideCalendar();
    if (record(r)) {
        if (const auto salt = MultiplySalt(TextEnbun[r]->text(), operation))
            diary_.SetItemSalt(slot(r), *salt);
        diary_.FinishDraft(slot(r));
    }
    TextEnbun[r]->setFocus();
}

}  // namespace morv
