#include "app/Form1.h"

#include "app/Autosave.h"
#include "app/ColumnPanel.h"
#include "app/Colours.h"
#include "app/Controls.h"
#include "app/ProgramIcon.h"
#include "app/SelectedItemsPanel.h"
#include "app/core/DayTotal.h"
#include "app/core/KeptCopyText.h"
#include "app/core/Registration.h"
#include "app/core/SeasoningDefaults.h"
#include "app/core/Twips.h"
#include "exchange/DataDialog.h"
#include "grid/ItemGrid.h"
#include "grid/WeightPanel.h"
#include "log/DeletionPanel.h"
#include "log/SaltListScreen.h"
#include "platform/CalendarControl.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EscapeKey.h"
#include "platform/FocusReason.h"
#include "platform/KeyRules.h"
#include "seasoning/SeasoningPanel.h"
#include "text/DateText.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace morv {

static const QString SecondPointText = QStringLiteral("すでに小数点が入力されています");
static const QString WrongDateText = QStringLiteral("日付が誤っています");
static const QString OverwriteDayText =
    QStringLiteral("指定された日付はすでに登録されています\r\n\r\n内容を書き換えますか？");
static const QString PreviewReminderText = QStringLiteral("読み込んだファイルの内容を表示しています");

Form1::Form1(Dialogs& dialogs, const Clock& clock, QString dataFolder, FileOps& ops, QWidget* parent)
    : QWidget(parent),
      DataFolder(std::move(dataFolder)),
      ItemTable(NewItemTable()),
      dialogs_(dialogs),
      clock_(clock) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle);
    setWindowIcon(ProgramIcon());
    setFixedSize(TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    setFont(WindowFont());
    files_ = std::make_unique<DataFiles>(
        DataFolder,
        [this](const QString& text) {
            if (!quietStorageStatus_) ShowStatus(text);
        },
        [this] { return clock_.now(); }, ops);
    autosave_ = new Autosave([this] { AutosaveNow(); }, this);
    buildMainView();
    Grid = new ItemGrid(*this);
    wireMainView();
    setTabOrder();
    PassEscapeToTopPanel(this);
}

Form1::~Form1() {
    // The panels over the command column reach this window's commands when they
    // hide, and a closing window hides its children only after its own part is
    // gone: they go first, while the window is still whole.
    qDeleteAll(findChildren<ColumnPanel*>(Qt::FindDirectChildrenOnly));
}

QString Form1::SaltTarget() const { return TextMoku->text(); }

void Form1::wireMainView() {
    KeyRule dateRule;
    dateRule.chars = KeyRule::Chars::DigitsAndSlash;
    dateRule.onKeyDown = [this] { ResetStatusLine(); };
    // A date pasted in another readable form (2024-01-05) is welcome here:
    // registration reads it or refuses it with its own message.
    dateRule.holdInserted = false;
    InstallKeyRule(Text1_0, dateRule);
    Text1_0->installEventFilter(this);

    KeyRule targetRule;
    targetRule.chars = KeyRule::Chars::Decimal;
    targetRule.maxTyped = 8;
    targetRule.onSecondPoint = [this] { showDecimalPointMessage(); };
    InstallKeyRule(TextMoku, targetRule);
    SelectAllOnFocus(TextMoku);
    TextMoku->installEventFilter(this);
    connect(TextMoku, &QLineEdit::textChanged, this, [this] { EnbunGoukei(); });

    connect(Command9, &QPushButton::clicked, this, &Form1::onDayBefore);
    connect(Command10, &QPushButton::clicked, this, &Form1::onDayAfter);
    connect(Command16, &QPushButton::clicked, this, &Form1::onOpenCalendar);
    connect(Command1, &QPushButton::clicked, this, &Form1::onExit);
    connect(Command2, &QPushButton::clicked, this, &Form1::onRegister);
    // The overlay panels open from here, since they are built on first use.
    connect(Command30, &QPushButton::clicked, this, [this] { Picture4->Open(); });
    connect(Command3, &QPushButton::clicked, this, [this] { PictureE->Open(); });
    connect(Command13, &QPushButton::clicked, this, [this] { PictureH->Open(); });
    connect(Picture7->Command43, &QPushButton::clicked, this, [this] { PictureCho->Open(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Picture2->Open(); });
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1_0 && event->type() == QEvent::MouseButtonPress) {
        Calendar1.hide();
        ResetStatusLine();
    } else if (watched == TextMoku && event->type() == QEvent::FocusIn &&
               MovesBetweenControls(static_cast<QFocusEvent*>(event))) {
        ResetStatusLine();
        Calendar1.hide();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Load() {
    Text1_0->setText(DateText(clock_.today()));
    placeOnScreen();
    // From here on a failing step is passed over; the storage reports its own
    // failures in the status line.
    files_->Prepare();
    ItemPage = 0;
    ItemTable = NewItemTable();
    files_->KirokuFileRead(ItemTable);
    Grid->ShowItemPage(0);
    SeasoningDefaults = BuiltInSeasonings();
    files_->ChomiFileRead(SeasoningTable);
    if (SeasoningPanel* panel = PictureCho.built()) panel->ShowSeasoningTable();
    QString target;
    files_->MokuFileRead(target);
    TextMoku->setText(target);
    files_->EnbunFileRead(DailyLog);
    files_->AtuFileRead(PressureBarShift);
    EnbunGoukei();
    Text1_0->setFocus();
    // Once the window is up and running its events, so that a termination
    // signal can still end the program while the notice is open.
    QTimer::singleShot(0, this, [this] { ShowKeptCopies(); });
}

void Form1::ShowKeptCopies() {
    const auto kept = files_->takeKeptCopies();
    if (!files_->heldBack().isEmpty()) ShowStatus(HeldBackLine(files_->heldBack()));
    if (!kept.empty()) dialogs_.notice(KeptCopiesText(kept));
}

void Form1::DataChanged() { autosave_->changed(); }

void Form1::AutosaveNow() {
    const bool heldBack = !files_->heldBack().isEmpty();
    quietStorageStatus_ = autosaveFailing_;
    autosaveFailing_ = WriteDataFiles() > 0;
    quietStorageStatus_ = false;
    // A file held back keeps its line over the storage message, until a save
    // has made its copy and written it.
    if (!files_->heldBack().isEmpty() || (heldBack && !autosaveFailing_))
        ShowStatus(HeldBackLine(files_->heldBack()));
}

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
    if (!Label46->text().isEmpty()) {
        Label3->setText(PreviewReminderText);
        return;
    }
    SetBackground(Text1_0, colour::White);
    // Empty, unless a file is held back: that line stands while it is not saved.
    Label3->setText(HeldBackLine(files_->heldBack()));
}

void Form1::ShowStatus(const QString& text) {
    SetTextColour(Label3, colour::Red);
    Label3->setText(text);
}

void Form1::EnbunGoukei() {
    const QString total = DayTotalText(ItemTable);
    LabelEnbun->setText(total);
    SetBackground(LabelEnbun,
                  TotalOverTarget(total, TextMoku->text()) ? colour::Salmon : colour::WindowBackground());
}

void Form1::onRegister() {
    ResetStatusLine();
    const QString date = NormalizeDateText(Text1_0->text());
    if (!IsValidDate(date)) {
        SetBackground(Text1_0, colour::Pink);
        Text1_0->setFocus();
        dialogs_.notice(WrongDateText);
        return;
    }
    const LogPlace place = FindLogPlace(DailyLog, date);
    if (place.kind == LogPlace::Kind::Existing && !dialogs_.askYesNo(OverwriteDayText)) return;
    const QString salt = LabelEnbun->text();
    RegisterDay(DailyLog, place, date, salt);
    DataChanged();
    dialogs_.notice(RegisteredText(date, salt));
    Text1_0->setFocus();
}

void Form1::showDecimalPointMessage() { dialogs_.notice(SecondPointText); }

void Form1::onDayPicked() {
    Text1_0->setText(Calendar1->pickedText());
    Calendar1.hide();
    Text1_0->setFocus();
}

void Form1::moveDate(int days) {
    ResetStatusLine();
    if (const auto moved = MovedDateText(Text1_0->text(), days)) Text1_0->setText(*moved);
    Text1_0->setFocus();
}

void Form1::onDayBefore() { moveDate(-1); }
void Form1::onDayAfter() { moveDate(1); }

void Form1::onOpenCalendar() {
    ResetStatusLine();
    Calendar1->show();
    Calendar1->raise();
    Calendar1->setFromText(Text1_0->text(), clock_.today());
}

int Form1::WriteDataFiles() {
    int failures = 0;
    if (!ItemImportPending) failures += files_->KirokuFileWrite(ItemTable);
    failures += files_->ChomiFileWrite(SeasoningTable);
    failures += files_->MokuFileWrite(TextMoku->text());
    if (LogCount() > 0 && !LogImportPending) failures += files_->EnbunFileWrite(DailyLog);
    failures += files_->AtuFileWrite(PressureBarShift);
    return failures;
}

void Form1::SaveAll() {
    autosave_->stop();
    if (WriteDataFiles() > 0) dialogs_.notice(StorageErrorText);
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
    if (PictureE.isVisible()) return PictureE->focusNextPrevChild(next);
    if (PictureH.isVisible()) return PictureH->focusNextPrevChild(next);
    if (PictureCho.isVisible()) return PictureCho->focusNextPrevChild(next);
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
