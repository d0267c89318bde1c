#include "seasoning/SeasoningPanel.h"

#include "diary/Diary.h"
#include "grid/core/ItemRows.h"
#include "platform/Announce.h"
#include "platform/CalendarControl.h"
#include "platform/EscapeKey.h"
#include "platform/FocusReason.h"
#include "platform/KeyPaths.h"
#include "platform/KeyRules.h"
#include "platform/TabRing.h"
#include "seasoning/core/SeasoningSums.h"
#include "text/NumericText.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/DateBox.h"
#include "ui/SelectedBox.h"
#include "ui/Shortcuts.h"
#include "ui/ShowTogether.h"
#include "ui/StatusLine.h"
#include "ui/Twips.h"
#include "ui/WaitingValues.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <vector>

namespace morv {

static const QString EnterHintText = QStringLiteral("エンターキーを押して下さい");
static const QString RestoreHintText = QStringLiteral("初期化する場合、エンターキーを押して下さい");
// Row 2's note until the panel is opened for the first time.
static const QString FirstRow2Note = QStringLiteral("※項目名削除で初期化します");
static const QString ExtraRowName = QStringLiteral("素材など、その他の塩分");
static const QString TotalName = QStringLiteral("調味料の塩分合計");

namespace {

// Rows 0..9 on the left, 10..19 on the right; the extra row stands above row 10.
constexpr int ColumnLeft[] = {8, 500};
constexpr int ColumnWidth = 476;
constexpr int FirstRowTop = 136;
constexpr int RowStep = 52;
constexpr int RowHeight = 48;
constexpr int Line1 = 3;
constexpr int Line2 = 25;
constexpr int LineHeight = 20;
constexpr int RowFontPoints = 8;
constexpr int MultiplierLeft = 276;
constexpr int MultiplierStep = 33;

QRect rowRect(int row) {
    return {ColumnLeft[row / 10], FirstRowTop + RowStep * (row % 10), ColumnWidth, RowHeight};
}

QString numbered(const char* what, int row) {
    return QStringLiteral("%1 %2").arg(QString::fromUtf8(what)).arg(row + 1);
}

QCheckBox* makeCheck(QWidget* parent, int row, const QRect& rect) {
    auto* check = new QCheckBox(parent);
    check->setObjectName(ArrayName("CheckC", row));
    check->setGeometry(rect);
    check->setFocusPolicy(Qt::ClickFocus);
    return check;
}

QLineEdit* makeNumberBox(QWidget* parent, const char* base, int row, const QRect& rect) {
    QLineEdit* box = MakeBox(parent, ArrayName(base, row), rect);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setTextMargins(1, 0, 1, 0);
    return box;
}

}  // namespace

SeasoningPanel::SeasoningPanel(Diary& diary, Dialogs& dialogs, StatusLine& status, DateBox& date,
                               SelectedBox& into, WaitingValues& waiting, QWidget* parent)
    : QFrame(parent),
      diary_(diary),
      dialogs_(dialogs),
      status_(status),
      date_(date),
      into_(into),
      waiting_(waiting) {
    SetUpPanel(this, QStringLiteral("PictureCho"));

    Label42 = MakeLabel(this, QStringLiteral("Label42"), QStringLiteral("調味料塩分計算"), {16, 10, 300, 30});
    MakeBold(Label42, 14);
    Label43 = MakeLabel(this, QStringLiteral("Label43"), QStringLiteral("※大さじは小さじの3倍です"),
                        {16, 48, 300, 22});
    Label45 = MakeLabel(this, QStringLiteral("Label45"), QStringLiteral("塩分合計"), {16, 92, 70, 32},
                        Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbunC = MakeLabel(this, QStringLiteral("LabelEnbunC"), QStringLiteral("0"), {90, 90, 100, 36},
                            Qt::AlignVCenter | Qt::AlignRight);
    LabelEnbunC->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LabelEnbunC->setMargin(4);
    MakeBold(LabelEnbunC, 12);
    SetBackground(LabelEnbunC, colour::WindowBackground());
    SpeakAmount(LabelEnbunC, TotalName);
    Label44 = MakeLabel(this, QStringLiteral("Label44"), QStringLiteral("グラム"), {194, 92, 44, 32});
    Command48 = MakeButton(this, QStringLiteral("Command48"), QStringLiteral("計"), {256, 92, 80, 32},
                           Qt::ClickFocus);
    Command46 = MakeButton(this, QStringLiteral("Command46"), QStringLiteral("戻る"), {372, 92, 104, 32},
                           Qt::ClickFocus);

    for (int row = 0; row < Rows; ++row) buildRow(row);
    buildExtraRow();
    buildSideCalculator();
    for (int row = 0; row < Rows; ++row) wireRow(row);
    wireRowKeys();
    setTabChain();
    for (int row = 0; row < 2; ++row) LabelC[row]->setText(RestingHint(row));
    LabelC[2]->setText(FirstRow2Note);
    CloseOnEscape(this, [this] { PressIfShown(Picture8->isVisible() ? Command49 : Command46); });

    connect(Command48, &QPushButton::clicked, this, &SeasoningPanel::ToggleSideCalculator);
    connect(&diary_, &Diary::seasoningChanged, this, &SeasoningPanel::ShowSeasoningTable);
    ShowSeasoningTable();
    connect(Command46, &QPushButton::clicked, this, &SeasoningPanel::Close);
    hide();
}

// ---- Building ----

void SeasoningPanel::buildRow(int i) {
    QFrame* panel = MakePanel(this, ArrayName("Picturec", i), rowRect(i));
    panel->setFrameShadow(QFrame::Plain);
    QFont font = panel->font();
    font.setPointSize(RowFontPoints);
    panel->setFont(font);
    Picturec[i] = panel;

    CheckC[i] = makeCheck(panel, i, {6, Line1, 18, LineHeight});
    TextNameC[i] = MakeBox(panel, ArrayName("TextNameC", i), {26, Line1, 196, LineHeight});
    TextNameC[i]->setTextMargins(1, 0, 1, 0);
    SetBackground(TextNameC[i], colour::WindowBackground());
    TextTaniC[i] = makeNumberBox(panel, "TextTaniC", i, {226, Line1, 44, LineHeight});
    addMultipliers(panel, i, MultiplierLeft, Line1);

    LabelC[i] = MakeLabel(panel, ArrayName("LabelC", i), QString(), {26, Line2, 230, LineHeight});
    SetTextColour(LabelC[i], colour::Red);
    CommandR[i] = MakeButton(panel, ArrayName("CommandR", i), QStringLiteral("リセット"),
                             {258, Line2, 56, LineHeight}, Qt::ClickFocus);
    TextEnbunC[i] = makeNumberBox(panel, "TextEnbunC", i, {318, Line2, 64, LineHeight});
    Labelcg[i] =
        MakeLabel(panel, ArrayName("Labelcg", i), QStringLiteral("グラム"), {386, Line2, 44, LineHeight});

    CheckC[i]->setAccessibleName(numbered("チェック", i));
    TextNameC[i]->setAccessibleName(numbered("調味料名", i));
    TextTaniC[i]->setAccessibleName(numbered("単位", i));
    TextEnbunC[i]->setAccessibleName(numbered("塩分", i));
    CommandR[i]->setAccessibleName(numbered("リセット", i));
}

void SeasoningPanel::buildExtraRow() {
    const int i = ExtraRow;
    QFrame* panel =
        MakePanel(this, ArrayName("Picturec", i), {ColumnLeft[1], FirstRowTop - 34, ColumnWidth, 30});
    panel->setFrameShadow(QFrame::Plain);
    QFont font = panel->font();
    font.setPointSize(RowFontPoints);
    panel->setFont(font);
    Picturec[i] = panel;
    CheckC[i] = makeCheck(panel, i, {6, 5, 18, LineHeight});
    TextNameC[i] = MakeBox(panel, ArrayName("TextNameC", i), {26, 5, 228, LineHeight});
    TextNameC[i]->setText(ExtraRowName);
    TextNameC[i]->setReadOnly(true);
    TextNameC[i]->setFrame(false);
    TextNameC[i]->setFocusPolicy(Qt::NoFocus);
    SetBackground(TextNameC[i], colour::WindowBackground());
    TextEnbunC[i] = makeNumberBox(panel, "TextEnbunC", i, {318, 5, 64, LineHeight});
    Labelcg[i] =
        MakeLabel(panel, ArrayName("Labelcg", i), QStringLiteral("グラム"), {386, 5, 44, LineHeight});
    CheckC[i]->setAccessibleName(QStringLiteral("その他の塩分 チェック"));
    TextNameC[i]->setAccessibleName(QStringLiteral("調味料名 その他の塩分"));
    TextEnbunC[i]->setAccessibleName(QStringLiteral("その他の塩分"));

    connect(CheckC[i], &QCheckBox::toggled, this, [this] { onTicked(ExtraRow); });
    wireNumberBox(TextEnbunC[i], [this] { onSaltEnter(ExtraRow); });
    connect(TextEnbunC[i], &QLineEdit::textChanged, this, [this] {
        if (status_.EnterPrompt()) showHint(ExtraRow, EnterHintText);
    });
}

void SeasoningPanel::buildSideCalculator() {
    const int i = SideRow;
    Picture8 = MakePanel(this, QStringLiteral("Picture8"), {ColumnLeft[1], 6, ColumnWidth, 92});
    Label47 =
        MakeLabel(Picture8, QStringLiteral("Label47"), QStringLiteral("その他の塩分計算"), {8, 4, 240, 22});
    MakeBold(Label47);
    TextEnbunC[i] = makeNumberBox(Picture8, "TextEnbunC", i, {8, 32, 72, 24});
    Labelcg[i] = MakeLabel(Picture8, ArrayName("Labelcg", i), QStringLiteral("グラム"), {84, 32, 44, 24});
    addMultipliers(Picture8, i, 132, 32);
    TextBaiC = makeNumberBox(Picture8, "TextBaiC", 0, {8, 62, 72, 24});
    TextBaiC->setObjectName(QStringLiteral("TextBaiC"));
    Command45 = MakeButton(Picture8, QStringLiteral("Command45"), QStringLiteral("倍"), {84, 62, 44, 24},
                           Qt::ClickFocus);
    Command50 = MakeButton(Picture8, QStringLiteral("Command50"), QStringLiteral("追加"), {132, 62, 80, 24},
                           Qt::ClickFocus);
    Command49 = MakeButton(Picture8, QStringLiteral("Command49"), QStringLiteral("閉じる"), {216, 62, 80, 24},
                           Qt::ClickFocus);
    TextEnbunC[i]->setAccessibleName(QStringLiteral("計算する塩分"));
    TextBaiC->setAccessibleName(QStringLiteral("倍率"));

    wireNumberBox(TextEnbunC[i], [this] { EnbunGoukeiC(); });
    wireNumberBox(TextBaiC, [this] { ScaleSideValue(); });
    connect(Command45, &QPushButton::clicked, this, &SeasoningPanel::ScaleSideValue);
    connect(Command50, &QPushButton::clicked, this, &SeasoningPanel::AddSideValue);
    connect(Command49, &QPushButton::clicked, this, &SeasoningPanel::CloseSideCalculator);
    Picture8->hide();
}

void SeasoningPanel::addMultipliers(QWidget* parent, int row, int x, int y) {
    const struct {
        std::array<QPushButton*, Rows + 2>* array;
        const char* base;
        const char* caption;
        SaltOperation operation;
    } buttons[] = {
        {&Commandc2b, "Commandc2b", "x2", SaltOperation::Times2},
        {&Commandc3b, "Commandc3b", "x3", SaltOperation::Times3},
        {&Commandc5b, "Commandc5b", "x5", SaltOperation::Times5},
        {&Commandc2w, "Commandc2w", "1/2", SaltOperation::Half},
        {&Commandc3w, "Commandc3w", "1/3", SaltOperation::Third},
        {&Commandc5w, "Commandc5w", "1/5", SaltOperation::Fifth},
    };
    const int height = row == SideRow ? 24 : LineHeight;
    for (const auto& b : buttons) {
        QPushButton* button = MakeButton(parent, ArrayName(b.base, row), QString::fromLatin1(b.caption),
                                         {x, y, MultiplierStep - 1, height}, Qt::ClickFocus);
        (*b.array)[row] = button;
        // The captions repeat on every row; a screen reader says which row.
        button->setAccessibleName(row == SideRow ? QStringLiteral("%1 その他の塩分計算").arg(b.caption)
                                                 : numbered(b.caption, row));
        const SaltOperation operation = b.operation;
        connect(button, &QPushButton::clicked, this, [this, row, operation] { MultiplyRow(row, operation); });
        x += MultiplierStep;
    }
}

void SeasoningPanel::wireNumberBox(QLineEdit* box, std::function<void()> onEnter) {
    KeyRule rule;
    rule.chars = KeyRule::Chars::Decimal;
    rule.onSecondPoint = [this] { RefuseSecondPoint(dialogs_); };
    rule.onEnter = std::move(onEnter);
    InstallKeyRule(box, std::move(rule));
    SelectAllOnFocus(box);
    box->installEventFilter(this);
}

void SeasoningPanel::wireRow(int i) {
    connect(CheckC[i], &QCheckBox::toggled, this, [this, i] { onTicked(i); });

    KeyRule nameRule;
    nameRule.onEnter = [this, i] { onNameEnter(i); };
    InstallKeyRule(TextNameC[i], std::move(nameRule));
    SelectAllOnFocus(TextNameC[i]);
    TextNameC[i]->installEventFilter(this);
    connect(TextNameC[i], &QLineEdit::textChanged, this, [this, i] { onNameChanged(i); });

    wireNumberBox(TextTaniC[i], [this, i] { onUnitEnter(i); });
    connect(TextTaniC[i], &QLineEdit::textChanged, this, [this, i] {
        diary_.SetUnitSalt(i, TextTaniC[i]->text());
        if (status_.EnterPrompt()) showHint(i, EnterHintText);
    });

    wireNumberBox(TextEnbunC[i], [this, i] { onSaltEnter(i); });
    connect(TextEnbunC[i], &QLineEdit::textChanged, this, [this, i] {
        if (status_.EnterPrompt()) showHint(i, EnterHintText);
    });
    connect(CommandR[i], &QPushButton::clicked, this, [this, i] { ResetRow(i); });
}

void SeasoningPanel::wireRowKeys() {
    // A row's tick and buttons from its boxes, as in the item grid.
    for (int i = 0; i <= SideRow; ++i) {
        RowKeys rowKeys;
        if (i <= ExtraRow) rowKeys.tick = CheckC[i];
        if (i != ExtraRow)
            rowKeys.commands = {Commandc2b[i], Commandc3b[i], Commandc5b[i],
                                Commandc2w[i], Commandc3w[i], Commandc5w[i]};
        if (i < Rows) rowKeys.commands << CommandR[i];
        if (i == SideRow) rowKeys.commands << Command45 << Command50 << Command49;
        for (QWidget* command : rowKeys.commands) command->setAccessibleDescription(keys::RowMenu);
        if (rowKeys.tick) rowKeys.tick->setAccessibleDescription(keys::RowTick);
        QList<QLineEdit*> boxes{TextEnbunC[i]};
        if (i < Rows) boxes << TextNameC[i] << TextTaniC[i];
        if (i == SideRow) boxes << TextBaiC;
        for (QLineEdit* box : boxes) {
            RowKeys forBox = rowKeys;
            forBox.spaceOverNameTicks = i < Rows && box == TextNameC[i];
            // The extra row has only its tick, the side calculator only its buttons.
            if (forBox.tick && !forBox.commands.isEmpty())
                box->setAccessibleDescription(keys::RowBox);
            else if (forBox.tick)
                box->setAccessibleDescription(keys::RowBoxTick);
            else if (!forBox.commands.isEmpty())
                box->setAccessibleDescription(keys::RowBoxMenu);
            // Where the window scrolls, the tick comes into view with the box.
            if (forBox.tick) ShowTogether(box, forBox.tick);
            InstallRowKeys(box, std::move(forBox));
        }
    }
    Command48->setAccessibleDescription(keys::SideCalculator);
    Command45->setAccessibleDescription(keys::Scale);
    Command50->setAccessibleDescription(keys::AddToExtra);
    Command46->setAccessibleDescription(keys::Back);
    Command49->setAccessibleDescription(keys::Back);
}

void SeasoningPanel::nameTick(int i) {
    const QString name = TrimBlanks(TextNameC[i]->text());
    CheckC[i]->setAccessibleName(name.isEmpty() ? numbered("チェック", i)
                                                : QStringLiteral("%1 チェック").arg(name));
}

void SeasoningPanel::setTabChain() {
    // Row by row through the seasonings; Tab out of the last row's salt goes
    // on to the extra row above the right column, then the side calculator.
    for (int i = 0; i < Rows; ++i) tabRing_ += {TextNameC[i], TextTaniC[i], TextEnbunC[i]};
    tabRing_ += {TextEnbunC[ExtraRow], TextEnbunC[SideRow], TextBaiC};
}

bool SeasoningPanel::focusNextPrevChild(bool next) {
    if (!isVisible()) return QFrame::focusNextPrevChild(next);
    // Tab out of the multiplier goes back to the value it scales. Jumping here,
    // rather than once the focus has left, keeps the focus from passing
    // through the first row and wiping its note.
    if (next && TextBaiC->hasFocus()) {
        TextEnbunC[SideRow]->setFocus(Qt::TabFocusReason);
        return true;
    }
    return MoveFocusInRing(tabRing_, next);
}

void SeasoningPanel::ShowSeasoningTable() {
    for (int i = 0; i < Rows; ++i) {
        const SeasoningRecord& row = diary_.SeasoningTable()[static_cast<size_t>(i)];
        const QSignalBlocker name(TextNameC[i]);
        const QSignalBlocker unit(TextTaniC[i]);
        // A box that shows its value already keeps its cursor.
        if (TextNameC[i]->text() != row.SeasoningName) TextNameC[i]->setText(row.SeasoningName);
        if (TextTaniC[i]->text() != row.UnitSalt) TextTaniC[i]->setText(row.UnitSalt);
        paintName(i);
        nameTick(i);
    }
}

// ---- Hint lines and colours ----

QLabel* SeasoningPanel::hintLine(int row) const { return LabelC[row == ExtraRow ? 10 : row]; }

void SeasoningPanel::restHint(int row) { hintLine(row)->setText(RestingHint(row)); }

void SeasoningPanel::showHint(int row, const QString& text) { hintLine(row)->setText(text); }

bool SeasoningPanel::tickedAndNamed(int row) const {
    return CheckC[row]->isChecked() && !TextNameC[row]->text().isEmpty();
}

void SeasoningPanel::paintName(int row) {
    // A name of blanks counts in the total but is not marked as a seasoning.
    const bool pink = CheckC[row]->isChecked() && !TrimBlanks(TextNameC[row]->text()).isEmpty();
    SetBackground(TextNameC[row], pink ? colour::Pink : colour::WindowBackground());
}

void SeasoningPanel::hideSide(int row) {
    if (row < ExtraRow) Picture8->hide();
}

// ---- Handlers ----

void SeasoningPanel::EnbunGoukeiC() {
    std::vector<CountedRow> rows;
    rows.reserve(ExtraRow + 1);
    for (int i = 0; i <= ExtraRow; ++i)
        rows.push_back({CheckC[i]->isChecked(), TextNameC[i]->text(), TextEnbunC[i]->text()});
    LabelEnbunC->setText(SeasoningTotalText(rows));
    const QString before = LabelEnbunC->accessibleName();
    SpeakAmount(LabelEnbunC, TotalName);
    if (LabelEnbunC->accessibleName() != before) Announce(LabelEnbunC->accessibleName());
}

void SeasoningPanel::onTicked(int row) {
    if (!CheckC[row]->hasFocus())
        Announce(TickedText(CheckC[row]->accessibleName(), CheckC[row]->isChecked()));
    paintName(row);
    EnbunGoukeiC();
    hideSide(row);
}

void SeasoningPanel::onNameChanged(int i) {
    diary_.SetSeasoningName(i, TextNameC[i]->text());
    nameTick(i);
    if (TextNameC[i]->text().isEmpty()) {
        SetBackground(TextNameC[i], colour::WindowBackground());
        showHint(i, RestoreHintText);
    } else {
        paintName(i);
    }
    EnbunGoukeiC();
}

void SeasoningPanel::onNameEnter(int i) {
    if (TextNameC[i]->text().isEmpty()) {
        const SeasoningRecord& builtIn = diary_.SeasoningDefaults()[static_cast<size_t>(i)];
        TextNameC[i]->setText(builtIn.SeasoningName);
        TextTaniC[i]->setText(builtIn.UnitSalt);
        TextEnbunC[i]->setText(builtIn.UnitSalt);
        EnbunGoukeiC();
    }
    restHint(i);
}

void SeasoningPanel::onUnitEnter(int i) {
    TextEnbunC[i]->setText(TextTaniC[i]->text());
    EnbunGoukeiC();
    restHint(i);
}

void SeasoningPanel::onSaltEnter(int row) {
    EnbunGoukeiC();
    restHint(row);
}

void SeasoningPanel::MultiplyRow(int row, SaltOperation operation) {
    if (const auto salt = MultiplySalt(TextEnbunC[row]->text(), operation)) TextEnbunC[row]->setText(*salt);
    EnbunGoukeiC();
    hideSide(row);
    TextEnbunC[row]->setFocus();
}

void SeasoningPanel::ResetRow(int i) {
    const QString unit = TextTaniC[i]->text();
    TextEnbunC[i]->setText(IsNumeric(unit) ? unit : QString());
    TextEnbunC[i]->setFocus();
    EnbunGoukeiC();
    hideSide(i);
}

bool SeasoningPanel::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    if ((in || event->type() == QEvent::FocusOut) && MovesBetweenControls(static_cast<QFocusEvent*>(event))) {
        if (in)
            focusIn(watched);
        else
            focusOut(watched);
    }
    return QFrame::eventFilter(watched, event);
}

void SeasoningPanel::focusIn(QObject* watched) {
    for (int i = 0; i <= ExtraRow; ++i) {
        if (watched == TextEnbunC[i]) {
            if (tickedAndNamed(i)) status_.SetEnterPrompt(true);
        } else if (i < Rows && watched == TextTaniC[i]) {
            status_.SetEnterPrompt(true);
        } else if (watched != TextNameC[i]) {
            continue;
        }
        hideSide(i);
        return;
    }
}

void SeasoningPanel::focusOut(QObject* watched) {
    for (int i = 0; i <= ExtraRow; ++i) {
        if (watched == TextEnbunC[i] || (i < Rows && watched == TextTaniC[i])) {
            restHint(i);
            status_.SetEnterPrompt(false);
            if (tickedAndNamed(i)) EnbunGoukeiC();
            return;
        }
        if (watched == TextNameC[i]) {
            if (i < Rows) LabelC[i]->clear();
            if (tickedAndNamed(i)) EnbunGoukeiC();
            return;
        }
    }
}

// ---- Side calculator ----

void SeasoningPanel::ToggleSideCalculator() {
    if (!Picture8->isHidden()) {
        CloseSideCalculator();
        return;
    }
    Picture8->show();
    Picture8->raise();
    TextBaiC->clear();
    TextEnbunC[SideRow]->clear();
    TextEnbunC[SideRow]->setFocus();
}

void SeasoningPanel::CloseSideCalculator() {
    Picture8->hide();
    TextEnbunC[ExtraRow]->setFocus();
}

void SeasoningPanel::ScaleSideValue() {
    QLineEdit* value = TextEnbunC[SideRow];
    if (const auto scaled = ScaledBy(value->text(), TextBaiC->text())) value->setText(*scaled);
    TextBaiC->clear();
    value->setFocus();
}

void SeasoningPanel::AddSideValue() {
    QLineEdit* extra = TextEnbunC[ExtraRow];
    QLineEdit* side = TextEnbunC[SideRow];
    if (const auto sum = AddedToExtra(extra->text(), side->text())) extra->setText(*sum);
    if (CheckC[ExtraRow]->isChecked()) EnbunGoukeiC();
    side->clear();
    side->setFocus();
}

// ---- Opening and closing ----

void SeasoningPanel::Open() {
    status_.ResetStatusLine();
    date_.HideCalendar();
    // A grid salt box that still had the focus gave its prompt to the grid;
    // filling the rows below is not typing and shows no hint.
    status_.SetEnterPrompt(false);
    setGeometry(0, 0, TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    raise();
    for (int i = 0; i < Rows; ++i) CheckC[i]->setChecked(false);
    CheckC[ExtraRow]->setChecked(true);
    for (int i = 0; i < Rows; ++i) {
        // The built-in seasoning of an empty row is shown, not typed: it is
        // no edit of the table (another machine's edit of the row then wins).
        if (TextNameC[i]->text().isEmpty()) diary_.ShowSeasoningDefault(i);
        TextEnbunC[i]->setText(TextTaniC[i]->text());
    }
    TextEnbunC[ExtraRow]->clear();
    for (int i = 0; i < 3; ++i) restHint(i);
    LabelEnbunC->setText(QStringLiteral("0"));
    SpeakAmount(LabelEnbunC, TotalName);
    show();
    TextEnbunC[ExtraRow]->setFocus();
}

void SeasoningPanel::Close() {
    waiting_.SetCarriedSalt(LabelEnbunC->text());
    // The focus goes back to where the panel was opened from as it hides
    // (ReturnFocusOnHide), before it could wander into another grid box and
    // move the grid's selected area.
    hide();
    Picture8->hide();
    if (!into_.Selection().salt) return;
    if (waiting_.CarriedSalt() != u"0")
        into_.MarkSelectedBox(true);
    else if (!waiting_.WeightPending())
        // An earlier carry marked the box; with nothing left to carry it is a
        // plain salt box again (a waiting weight conversion keeps its mark).
        into_.MarkSelectedBox(false);
}

}  // namespace morv
