#include "window/Form1.h"

#include "diary/DayTotal.h"
#include "diary/KeptCopyText.h"
#include "diary/Registration.h"
#include "diary/SeasoningDefaults.h"
#include "exchange/DataDialog.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"
#include "platform/AccessibleTree.h"
#include "platform/Announce.h"
#include "platform/BeforeFirstInput.h"
#include "platform/CalendarControl.h"
#include "platform/Covered.h"
#include "platform/EscapeKey.h"
#include "platform/FocusReason.h"
#include "platform/KeyRules.h"
#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"
#include "seasoning/SeasoningPanel.h"
#include "selected/SelectedItemsPanel.h"
#include "text/DateText.h"
#include "ui/Colours.h"
#include "ui/ColumnPanel.h"
#include "ui/Controls.h"
#include "ui/OwnLook.h"
#include "ui/ProgramIcon.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace morv {

static const QString WrongDateText = QStringLiteral("日付が誤っています");
static const QString OverwriteDayText =
    QStringLiteral("指定された日付はすでに登録されています\r\n\r\n内容を書き換えますか？");
static const QString PreviewReminderText = QStringLiteral("読み込んだファイルの内容を表示しています");

Form1::Form1(Dialogs& dialogs, const Clock& clock, QString dataFolder, FileOps& ops, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      clock_(clock),
      dataFolder_(std::move(dataFolder)),
      document_(
          dataFolder_, [&clock] { return clock.now(); }, ops, this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle);
    setWindowIcon(ProgramIcon());
    setFixedSize(TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    setFont(WindowFont());
    // The colours of the window are fixed; a dark desktop theme must not put
    // its light text on them, now or after it changes.
    KeepOwnLook(this);
    ExposeOnlyUncovered(this);
    ListMenusOnTree();
    SpeakValuesOnFocus();
    // The window sets the policy: what the user is told, and the save a
    // session manager asks for at logout.
    connect(&document_, &DiaryDocument::storageFailed, this, &Form1::ShowStatus);
    connect(&document_, &DiaryDocument::notice, this, [this](const QString& text) { dialogs_.notice(text); });
    connect(&document_, &DiaryDocument::heldBackChanged, this, &Form1::showHeldBack);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { AutosaveNow(); });
    buildMainView();
    wireMainView();
    followDiary();
    setTabOrder();
    PassEscapeToTopPanel(this);
    installShortcuts();
}

Form1::~Form1() {
    // The panels over the command column tell this window when they hide, and
    // a closing window hides its children only after its own part is gone:
    // they go first, while the window is still whole. The panels over the
    // whole window go before them: where their focus returns to may be a
    // column panel's button.
    delete PictureE_.built();
    delete PictureH_.built();
    delete PictureCho_.built();
    qDeleteAll(host()->findChildren<ColumnPanel*>(Qt::FindDirectChildrenOnly));
}

void Form1::followDiary() {
    // The one place the total is refreshed: any change of an item or the target.
    connect(&diary(), &Diary::itemChanged, this, &Form1::EnbunGoukei);
    connect(&diary(), &Diary::targetChanged, this, [this] {
        const QSignalBlocker showing(TextMoku_);
        if (TextMoku_->text() != diary().SaltTarget()) TextMoku_->setText(diary().SaltTarget());
        EnbunGoukei();
    });
}

void Form1::wireMainView() {
    KeyRule dateRule;
    dateRule.chars = KeyRule::Chars::DigitsAndSlash;
    dateRule.onKeyDown = [this] { ResetStatusLine(); };
    // A date pasted in another readable form (2024-01-05) is welcome here:
    // registration reads it or refuses it with its own message.
    dateRule.holdInserted = false;
    InstallKeyRule(Text1_0_, dateRule);
    Text1_0_->installEventFilter(this);

    KeyRule targetRule;
    targetRule.chars = KeyRule::Chars::Decimal;
    targetRule.maxTyped = 8;
    targetRule.onSecondPoint = [this] { RefuseSecondPoint(dialogs_); };
    InstallKeyRule(TextMoku_, targetRule);
    SelectAllOnFocus(TextMoku_);
    TextMoku_->installEventFilter(this);
    connect(TextMoku_, &QLineEdit::textChanged, this,
            [this](const QString& target) { diary().SetSaltTarget(target); });

    connect(Command9_, &QPushButton::clicked, this, &Form1::onDayBefore);
    connect(Command10_, &QPushButton::clicked, this, &Form1::onDayAfter);
    connect(Command16_, &QPushButton::clicked, this, &Form1::onOpenCalendar);
    connect(Command1_, &QPushButton::clicked, this, &Form1::onExit);
    connect(Command2_, &QPushButton::clicked, this, &Form1::onRegister);
    // The overlay panels open from here, since they are built on first use.
    connect(Command30_, &QPushButton::clicked, this, [this] { Picture4_->Open(); });
    connect(Command3_, &QPushButton::clicked, this, [this] { PictureE_->Open(); });
    connect(Command13_, &QPushButton::clicked, this, [this] { PictureH_->Open(); });
    connect(Picture7_->Command43, &QPushButton::clicked, this, [this] { PictureCho_->Open(); });
    connect(Command47_, &QPushButton::clicked, Picture7_, &SeasoningStrip::ClearAllTicks);
    connect(Command8_, &QPushButton::clicked, this, [this] { Picture2_->Open(); });
    connect(Grid_, &ItemGrid::foodTableRequested, this, &Form1::OpenFoodTable);
    connect(Picture1_, &WeightPanel::foodTableRequested, this,
            [this] { OpenFoodTable(Grid_->CurrentSlot()); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1_0_ && event->type() == QEvent::MouseButtonPress) {
        Calendar1_.hide();
        ResetStatusLine();
    } else if (watched == TextMoku_ && event->type() == QEvent::FocusIn &&
               MovesBetweenControls(static_cast<QFocusEvent*>(event))) {
        ResetStatusLine();
        Calendar1_.hide();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Load(LogRead when) {
    Text1_0_->setText(DateText(clock_.today()));
    placeOnScreen();
    document_.LoadSmallFiles(BuiltInSeasonings());
    EnbunGoukei();
    Text1_0_->setFocus();
    if (when == LogRead::AfterFirstPaint) {
        logGuard_ = new BeforeFirstInput([this] { readLog(); }, this);
        return;
    }
    readLog();
}

void Form1::readLog() {
    if (logGuard_) std::exchange(logGuard_, nullptr)->deleteLater();
    document_.LoadLog();
    // Once the window is up and running its events, so that a termination
    // signal can still end the program while the notice is open.
    QTimer::singleShot(0, this, [this] { ShowKeptCopies(); });
}

bool Form1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Right after the first paint is on the screen, before anything else.
    if (event->type() == QEvent::Paint && logGuard_)
        QTimer::singleShot(0, logGuard_, &BeforeFirstInput::done);
    return handled;
}

void Form1::ShowKeptCopies() {
    const auto kept = document_.takeKeptCopies();
    if (!document_.heldBack().isEmpty()) ShowStatus(HeldBackLine(document_.heldBack()));
    if (!kept.empty()) dialogs_.notice(KeptCopiesText(kept));
}

void Form1::showHeldBack(const QStringList& files) { ShowStatus(HeldBackLine(files)); }

void Form1::placeOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->geometry();
    // Centred across; a quarter of the free height above. On a screen smaller
    // than the window the title bar stays on the screen.
    move(std::max(area.x(), area.x() + (area.width() - width()) / 2),
         std::max(area.y(), area.y() + (area.height() / 2 - height() / 2) / 2));
}

void Form1::ResetStatusLine() {
    if (!Label46_->text().isEmpty()) {
        Label3_->setText(PreviewReminderText);
        return;
    }
    SetBackground(Text1_0_, colour::White);
    // Empty, unless a file is held back: that line stands while it is not saved.
    Label3_->setText(HeldBackLine(document_.heldBack()));
}

void Form1::ShowStatus(const QString& text) {
    SetTextColour(Label3_, colour::Red);
    // A hint or a reason is heard once, not at every keystroke that repeats it.
    if (Label3_->text() != text) Announce(text);
    Label3_->setText(text);
}

void Form1::EnbunGoukei() {
    const QString total = DayTotalText(diary().ItemTable());
    LabelEnbun_->setText(total);
    const bool over = TotalOverTarget(total, diary().SaltTarget());
    SetBackground(LabelEnbun_, over ? colour::Salmon : colour::WindowBackground());
    // The colour alone tells a screen-reader user nothing; a new total is
    // told wherever the focus is.
    const QString before = LabelEnbun_->accessibleName();
    SpeakAmount(LabelEnbun_, QStringLiteral("塩分合計"), over ? QStringLiteral("、目標超過") : QString());
    if (LabelEnbun_->accessibleName() != before) Announce(LabelEnbun_->accessibleName());
}

void Form1::onRegister() {
    ResetStatusLine();
    const QString date = NormalizeDateText(Text1_0_->text());
    if (!IsValidDate(date)) {
        SetBackground(Text1_0_, colour::Pink);
        Text1_0_->setFocus();
        dialogs_.notice(WrongDateText);
        return;
    }
    const QString salt = LabelEnbun_->text();
    LogPlace place = diary().FindPlace(date);
    if (place.kind == LogPlace::Kind::Existing) {
        if (!dialogs_.askYesNo(OverwriteDayText)) return;
        // While the question was open the log may have changed (another
        // machine's save came in, merged or read anew): the place it had
        // then may now be another day's, or past the end.
        place = diary().FindPlace(date);
    }
    diary().RegisterDay(place, date, salt);
    dialogs_.notice(RegisteredText(date, salt));
    Text1_0_->setFocus();
}

void Form1::onDayPicked() {
    Text1_0_->setText(Calendar1_->pickedText());
    Calendar1_.hide();
    Text1_0_->setFocus();
}

void Form1::moveDate(int days) {
    ResetStatusLine();
    if (const auto moved = MovedDateText(Text1_0_->text(), days)) Text1_0_->setText(*moved);
    Text1_0_->setFocus();
}

void Form1::onDayBefore() { moveDate(-1); }
void Form1::onDayAfter() { moveDate(1); }

void Form1::onOpenCalendar() {
    ResetStatusLine();
    Calendar1_->show();
    Calendar1_->raise();
    Calendar1_->setFromText(Text1_0_->text(), clock_.today());
}

void Form1::SaveAll() {
    if (logGuard_) logGuard_->done();
    saveFailed_ = !document_.SaveAllAndStop().ok();
    if (saveFailed_) dialogs_.notice(StorageErrorText);
}

void Form1::onExit() {
    if (!saved_) {
        saved_ = true;
        SaveAll();
    }
    close();
}

bool Form1::focusNextPrevChild(bool next) {
    // A screen over the whole window keeps Tab among its own controls, also
    // while the focus is still on the covered button that opened it.
    if (PictureE_.isVisible()) return PictureE_->focusNextPrevChild(next);
    if (PictureH_.isVisible()) return PictureH_->focusNextPrevChild(next);
    if (PictureCho_.isVisible()) return PictureCho_->focusNextPrevChild(next);
    return QWidget::focusNextPrevChild(next);
}

void Form1::closeEvent(QCloseEvent* event) {
    // The close is never refused and nothing is asked; the data is saved once,
    // whether by the close box, a termination signal or "終了".
    if (!saved_) {
        saved_ = true;
        SaveAll();
    }
    event->accept();
}

}  // namespace morv
