#include "log/SaltListScreen.h"

#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "log/BarPixels.h"
#include "log/PageSummary.h"
#include "log/ReportPanel.h"
#include "log/core/LogPages.h"
#include "platform/Announce.h"
#include "platform/CalendarControl.h"
#include "platform/EscapeKey.h"
#include "platform/KeyRules.h"
#include "platform/ReturnFocus.h"
#include "platform/TabRing.h"
#include "platform/core/Clock.h"
#include "ui/Colours.h"
#include "ui/Controls.h"
#include "ui/DateBox.h"
#include "ui/Shortcuts.h"
#include "ui/StatusLine.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace morv {

namespace {

// The table's rows in pixels: a row is 360 twips high, starting 1440 twips
// below the top of the screen.
int rowTop(int r) { return ToPixels(LogRowTop + LogRowPitch * r); }
constexpr int RowHeight = LogRowPitch / TwipsPerPixel;
constexpr int BarInset = 4;  // a bar is a little thinner than its row
constexpr int DateLeft = 122;
constexpr int DateWidth = 76;
constexpr int SaltLeft = DateLeft + DateWidth;
constexpr int HeaderTop = 72;

}  // namespace

SaltListScreen::SaltListScreen(DataFileRequests& document, Dialogs& dialogs, StatusLine& status,
                               DateBox& date, const Clock& clock, QWidget* parent)
    : QFrame(parent),
      document_(document),
      diary_(document.diary()),
      dialogs_(dialogs),
      status_(status),
      date_(date),
      clock_(clock) {
    setObjectName(QStringLiteral("PictureE"));
    setGeometry(0, 0, TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    setFrameShape(QFrame::StyledPanel);
    SetBackground(this, colour::ButtonFace());
    buildTable();
    buildPressurePanels();
    buildImportControls();
    // The report's button and the page's summary in the free space at the bottom right.
    LabelSummary = MakePageSummary(this, {488, 624, 380, 44}, LabelE2[0]->font());
    CommandReport =
        MakeButton(this, QStringLiteral("CommandReport"), QStringLiteral("レポート"), {876, 628, 96, 36});
    Report = new ReportPanel(this, dialogs_, clock_,
                             {[this]() -> const LogList& { return diary_.DailyLog(); },
                              [this] { return diary_.SaltTarget(); }, [this] { return date_.DateShown(); }});
    connect(CommandReport, &QPushButton::clicked, Report, &ReportPanel::Open);
    ReturnFocusOnHide(Report, [this] { return CommandReport; });
    wire();
    wirePressure();
    // The rows and bars follow the log, the target and the shift; a log that
    // came in from elsewhere is shown as a whole again.
    for (auto changed : {&Diary::logChanged, &Diary::targetChanged, &Diary::barShiftChanged})
        connect(&diary_, changed, this, &SaltListScreen::showChanges);
    connect(&diary_, &Diary::reloaded, this, [this](DataFile file) {
        if (isVisible() && file != DataFile::Kiroku && file != DataFile::Chomi) ShowLogAgain();
    });
    tabChain_ = {TextPAGE,  Command15, Command17, Command18, Command40,    Command14, Command28,
                 Command29, Text2,     Command37, Command35, Command36,    Text5,     Text6,
                 Command39, Command38, Command41, Command42, CommandReport};
    CloseOnEscape(this, [this] {
        if (Calendar2.isVisible()) return Calendar2.hide();
        // "戻る" is hidden while an import waits to be confirmed or cancelled.
        PressIfShown(Command14);
    });
    Command14->setAccessibleDescription(keys::Back);
    for (QPushButton* page : {Command17, Command18}) page->setAccessibleDescription(keys::Pages);
    hide();
}

void SaltListScreen::buildTable() {
    Label19 = MakeLabel(this, QStringLiteral("Label19"), QStringLiteral("塩分一覧"), {DateLeft, 10, 200, 32});
    QFont title = Label19->font();
    title.setPointSize(15);
    title.setBold(true);
    Label19->setFont(title);

    Label20 = MakeLabel(this, QStringLiteral("Label20"), QStringLiteral("日付"),
                        {DateLeft, HeaderTop, DateWidth, 22}, Qt::AlignCenter);
    // The salt header is wider than its column; it runs on over the start of
    // the bars, where the scale has no mark.
    Label21 = MakeLabel(this, QStringLiteral("Label21"), QStringLiteral("塩分（グラム）"),
                        {SaltLeft, HeaderTop, 110, 22});

    // The scale stands centred over the ends of 5, 10, 15 and 20-gram bars.
    auto scale = [this](const char* name, int grams) {
        const int x = ToPixels(SaltBarLeft + TwipsPerGram * grams);
        return MakeLabel(this, QLatin1String(name), QString::number(grams), {x - 20, HeaderTop, 40, 22},
                         Qt::AlignCenter);
    };
    Label25 = scale("Label25", 5);
    Label24 = scale("Label24", 10);
    Label26 = scale("Label26", 15);
    Label27 = scale("Label27", 20);

    const int barLeft = ToPixels(SaltBarLeft);
    QFont barFont = font();
    barFont.setPointSize(8);
    for (int r = 0; r < Rows; ++r) {
        const int top = rowTop(r);
        LabelE1[r] = MakeLabel(this, ArrayName("LabelE1", r), QString(),
                               {DateLeft, top + 2, DateWidth - 2, RowHeight - 4}, Qt::AlignCenter);
        SetBackground(LabelE1[r], colour::White);
        LabelE2[r] = MakeLabel(this, ArrayName("LabelE2", r), QString(),
                               {SaltLeft, top + 2, barLeft - SaltLeft - 4, RowHeight - 4},
                               Qt::AlignVCenter | Qt::AlignRight);
        LabelE2[r]->setIndent(6);
        SetBackground(LabelE2[r], colour::PaleYellow);
        LabelE3[r] =
            MakeBar(this, ArrayName("LabelE3", r), {barLeft, top + BarInset, 0, RowHeight - 2 * BarInset});
        SetBackground(LabelE3[r], colour::LightOrange);
        // Made after its salt bar and before the panels and the calendar, the
        // pressure bar lies over the salt bar but under those, which keep
        // their clicks.
        LabelE4[r] =
            MakeBar(this, ArrayName("LabelE4", r), {barLeft, top + BarInset, 0, RowHeight - 2 * BarInset},
                    {colour::LightOrange, colour::Salmon});
        LabelE4[r]->setFont(barFont);
        SetBackground(LabelE4[r], colour::Lavender);
        LabelE1[r]->hide();
        LabelE2[r]->hide();
        LabelE3[r]->hide();
        LabelE4[r]->hide();
    }

    // Paging and the screen's commands along the top right.
    constexpr int top = 14;
    Label23 = MakeLabel(this, QStringLiteral("Label23"), QStringLiteral("PAGE"), {452, top, 44, 26},
                        Qt::AlignVCenter | Qt::AlignRight);
    TextPAGE = MakeBox(this, QStringLiteral("TextPAGE"), {500, top, 54, 26});
    TextPAGE->setAlignment(Qt::AlignCenter);
    Label22 =
        MakeLabel(this, QStringLiteral("Label22"), QStringLiteral("/"), {556, top, 14, 26}, Qt::AlignCenter);
    LabelPAGE = MakeLabel(this, QStringLiteral("LabelPAGE"), QStringLiteral("1"), {572, top, 54, 26},
                          Qt::AlignVCenter | Qt::AlignLeft);
    Command15 = MakeButton(this, QStringLiteral("Command15"), QStringLiteral("表示"), {628, top, 54, 26});
    Command17 = MakeButton(this, QStringLiteral("Command17"), QStringLiteral("<"), {688, top, 30, 26});
    Command18 = MakeButton(this, QStringLiteral("Command18"), QStringLiteral(">"), {720, top, 30, 26});
    Command40 = MakeButton(this, QStringLiteral("Command40"), PressureDisplayOffCaption, {770, 12, 96, 30});
    Command14 = MakeButton(this, QStringLiteral("Command14"), QStringLiteral("戻る"), {876, 12, 96, 30});
    TextPAGE->setAccessibleName(QStringLiteral("ページ"));
    Command17->setAccessibleName(QStringLiteral("前のページ"));
    Command18->setAccessibleName(QStringLiteral("次のページ"));
}

void SaltListScreen::buildPressurePanels() {
    // Entry panel in the top-left corner, left of the table's date column.
    Picture5 = MakePanel(this, QStringLiteral("Picture5"), {0, 0, 116, 232});
    Picture5->hide();
    Text2 = MakeBox(Picture5, QStringLiteral("Text2"), {8, 8, 100, 26});
    Text2->setAlignment(Qt::AlignCenter);
    Command37 = MakeButton(Picture5, QStringLiteral("Command37"), QStringLiteral("<"), {8, 38, 28, 26});
    Command35 = MakeButton(Picture5, QStringLiteral("Command35"), QStringLiteral("CL"), {38, 38, 40, 26});
    Command36 = MakeButton(Picture5, QStringLiteral("Command36"), QStringLiteral(">"), {80, 38, 28, 26});
    Label38 = MakeLabel(Picture5, QStringLiteral("Label38"), QStringLiteral("血圧"), {8, 78, 100, 20});
    Text5 = MakeBox(Picture5, QStringLiteral("Text5"), {8, 100, 44, 26});
    Text5->setAlignment(Qt::AlignCenter);
    Label39 = MakeLabel(Picture5, QStringLiteral("Label39"), QStringLiteral("-"), {52, 100, 12, 26},
                        Qt::AlignCenter);
    Text6 = MakeBox(Picture5, QStringLiteral("Text6"), {64, 100, 44, 26});
    Text6->setAlignment(Qt::AlignCenter);
    Command39 =
        MakeButton(Picture5, QStringLiteral("Command39"), QStringLiteral("血圧登録"), {8, 144, 100, 32});
    Command39->setToolTip(QStringLiteral("指定された日付の血圧を記録します"));
    Command38 =
        MakeButton(Picture5, QStringLiteral("Command38"), QStringLiteral("血圧削除"), {8, 184, 100, 32});
    Command38->setToolTip(QStringLiteral("指定された日付の血圧を削除します"));

    // Shift panel in the bottom-left corner, under the rows.
    Picture6 = MakePanel(this, QStringLiteral("Picture6"), {8, 620, 232, 44});
    Picture6->hide();
    Command41 = MakeButton(Picture6, QStringLiteral("Command41"), QStringLiteral("<"), {8, 8, 32, 28});
    Label40 = MakeLabel(Picture6, QStringLiteral("Label40"), QStringLiteral("血圧表示移動"), {44, 8, 144, 28},
                        Qt::AlignCenter);
    Command42 = MakeButton(Picture6, QStringLiteral("Command42"), QStringLiteral(">"), {192, 8, 32, 28});

    Text2->setAccessibleName(QStringLiteral("血圧の日付"));
    NameDateButtons(Command37, Command35, Command36);
    Text5->setAccessibleName(QStringLiteral("最低血圧"));
    Text6->setAccessibleName(QStringLiteral("最高血圧"));
    Command41->setAccessibleName(QStringLiteral("血圧表示を左へ"));
    Command42->setAccessibleName(QStringLiteral("血圧表示を右へ"));
}

// The calendar opens beside the date buttons, over the table.
CalendarControl* SaltListScreen::buildCalendar2() {
    auto* calendar = new CalendarControl(this, QStringLiteral("Calendar2"), {118, 38, 280, 200});
    calendar->setAccessibleName(QStringLiteral("血圧の日付のカレンダー"));
    connect(calendar, &CalendarControl::dayPicked, this, &SaltListScreen::onPressureDayPicked);
    return calendar;
}

void SaltListScreen::buildImportControls() {
    Label37 = MakeLabel(
        this, QStringLiteral("Label37"),
        QStringLiteral("読み込んだファイルの内容を表示しています、データを上書きする場合は下のボタンを押して"
                       "ください（血圧のデータも上書きされます）"),
        {252, 584, 560, 40}, Qt::AlignVCenter | Qt::AlignLeft);
    Label37->setWordWrap(true);
    SetTextColour(Label37, colour::Red);
    // Under the message, which points the user at "the buttons below".
    Command28 = MakeButton(this, QStringLiteral("Command28"), QStringLiteral("上書き"), {252, 628, 110, 36});
    Command29 =
        MakeButton(this, QStringLiteral("Command29"), QStringLiteral("キャンセル"), {370, 628, 110, 36});
    showImportConfirmation(false);
}

void SaltListScreen::wire() {
    KeyRule pageRule;
    pageRule.chars = KeyRule::Chars::Digits;
    pageRule.maxTyped = 4;
    pageRule.onEnter = [this] { ShowPage(); };
    InstallKeyRule(TextPAGE, pageRule);
    SelectAllOnFocus(TextPAGE);
    connect(Command15, &QPushButton::clicked, this, &SaltListScreen::ShowPage);
    connect(Command17, &QPushButton::clicked, this, &SaltListScreen::PreviousPage);
    connect(Command18, &QPushButton::clicked, this, &SaltListScreen::NextPage);
    connect(Command14, &QPushButton::clicked, this, &SaltListScreen::Close);
    connect(Command28, &QPushButton::clicked, this, &SaltListScreen::ConfirmImport);
    connect(Command29, &QPushButton::clicked, this, &SaltListScreen::CancelImport);
}

void SaltListScreen::hidePressureBars() {
    for (QLabel* bar : LabelE4) bar->hide();
}

void SaltListScreen::showImportConfirmation(bool pending) {
    Command14->setVisible(!pending);
    Command28->setVisible(pending);
    Command29->setVisible(pending);
    Label37->setVisible(pending);
}

void SaltListScreen::setPageCount(qint64 pages) { LabelPAGE->setText(QString::number(pages)); }

bool SaltListScreen::PressureDisplayOn() const { return Command40->text() == PressureDisplayOnCaption; }

void SaltListScreen::Open() {
    status_.ResetStatusLine();
    Picture5->hide();
    Picture6->hide();
    Calendar2.hide();
    Text2->setText(date_.DateShown());
    Text5->clear();
    Text6->clear();
    Report->hide();
    setGeometry(0, 0, TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    hidePressureBars();

    // The last page holds the most recent days. An empty log is page 1 of 1.
    const qint64 pages = PageCount(diary_.LogCount());
    setPageCount(pages);
    TextPAGE->setText(QString::number(pages));
    FillLogRows();
    // However it is opened, a pending import can only be confirmed or cancelled.
    showImportConfirmation(diary_.LogImportPending());
    Command40->setText(PressureDisplayOffCaption);
    raise();
    show();
    if (diary_.LogCount() > 0) TextPAGE->setFocus();
}

void SaltListScreen::FillLogRows() { fillRowsFrom(FirstRecordOfPage(PageValue(TextPAGE->text()))); }

void SaltListScreen::showChanges() {
    if (!isVisible()) return;
    // The rows on show stay, with what they now hold: a page typed but not
    // yet shown does not move them.
    if (shownFirst_ > 0 && shownFirst_ >= diary_.LogCount()) return ShowLogAgain();
    setPageCount(PageCount(diary_.LogCount()));
    fillRowsFrom(shownFirst_);
    if (PressureDisplayOn())
        DrawPressureBars();
    else
        hidePressureBars();
}

void SaltListScreen::fillRowsFrom(qint64 first) {
    const int filled = RowsOnPage(first, diary_.LogCount());
    const QString target = diary_.SaltTarget();
    const int barLeft = ToPixels(SaltBarLeft);
    for (int r = 0; r < filled; ++r) {
        const LogRecord& day = diary_.DailyLog()[static_cast<size_t>(first + r)];
        LabelE1[r]->setText(day.LogDate);
        LabelE2[r]->setText(day.DaySalt);
        const SaltBar bar = SaltBarFor(day.DaySalt.view(), target);
        const PixelSpan span = ToPixels(SaltBarLeft, bar.width);
        LabelE3[r]->setGeometry(barLeft, LabelE3[r]->y(), span.width, LabelE3[r]->height());
        SetBackground(LabelE2[r], bar.overTarget ? colour::Salmon : colour::PaleYellow);
        SetBackground(LabelE3[r], bar.overTarget ? colour::Salmon : colour::LightOrange);
        // The colour alone tells a day over the target; a screen reader says it.
        LabelE1[r]->setAccessibleName(QStringLiteral("日付 %1").arg(day.LogDate));
        LabelE2[r]->setAccessibleName(
            QStringLiteral("塩分 %1 グラム%2")
                .arg(day.DaySalt, bar.overTarget ? QStringLiteral("、目標超過") : QString()));
        LabelE1[r]->show();
        LabelE2[r]->show();
        LabelE3[r]->show();
    }
    for (int r = filled; r < Rows; ++r) {
        LabelE1[r]->hide();
        LabelE2[r]->hide();
        LabelE3[r]->hide();
    }
    shownFirst_ = first;
    ShowPageSummary(LabelSummary, diary_.DailyLog(), first, filled, target);
}

void SaltListScreen::ShowLogAgain() {
    const qint64 shown = PageValue(TextPAGE->text());
    const qint64 before = PageValue(LabelPAGE->text());
    const qint64 pages = PageCount(diary_.LogCount());
    setPageCount(pages);
    TextPAGE->setText(QString::number(shown >= before ? pages : ClampPage(shown, pages)));
    FillLogRows();
    if (PressureDisplayOn())
        DrawPressureBars();
    else
        hidePressureBars();
}

void SaltListScreen::ShowPage() {
    const qint64 typed = PageValue(TextPAGE->text());
    const qint64 page = ClampPage(typed, PageValue(LabelPAGE->text()));
    if (page != typed) TextPAGE->setText(QString::number(page));
    FillLogRows();
    if (PressureDisplayOn())
        DrawPressureBars();
    else
        hidePressureBars();
    TextPAGE->setFocus();
    TextPAGE->selectAll();
    // The rows changed under a box that says only that its text is selected.
    Announce(QStringLiteral("ページ %1").arg(page));
}

void SaltListScreen::PreviousPage() {
    TextPAGE->setText(
        QString::number(morv::PreviousPage(PageValue(TextPAGE->text()), PageValue(LabelPAGE->text()))));
    ShowPage();
}

void SaltListScreen::NextPage() {
    TextPAGE->setText(
        QString::number(morv::NextPage(PageValue(TextPAGE->text()), PageValue(LabelPAGE->text()))));
    ShowPage();
}

void SaltListScreen::Close() { hide(); }

bool SaltListScreen::focusNextPrevChild(bool next) {
    if (!isVisible()) return QFrame::focusNextPrevChild(next);
    return MoveFocusInRing(tabChain_, next);
}

void SaltListScreen::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    // Faint guides down from the scale marks make long lists easy to read.
    QPainter painter(this);
    QColor guide = palette().color(QPalette::Mid);
    guide.setAlpha(110);
    painter.setPen(QPen(guide, 1, Qt::DotLine));
    const int top = rowTop(0);
    const int bottom = rowTop(Rows);
    for (int grams = 0; grams <= 20; grams += 5) {
        const int x = ToPixels(SaltBarLeft + TwipsPerGram * grams);
        painter.drawLine(x, top, x, bottom);
    }
}

}  // namespace morv
