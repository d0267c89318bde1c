#include "app/Form1.h"

#include "app/Autosave.h"
#include "app/ColumnPanel.h"
#include "app/Colours.h"
#include "app/Controls.h"
#include "app/FolderSync.h"
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
#include "platform/BeforeFirstInput.h"
#include "platform/CalendarControl.h"
#include "platform/Clock.h"
#include "platform/Covered.h"
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
    : QWidget(parent), dialogs_(dialogs), clock_(clock), dataFolder_(std::move(dataFolder)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ProgramTitle);
    setWindowIcon(ProgramIcon());
    setFixedSize(TwipsToPixels(WindowWidthTwips), TwipsToPixels(WindowHeightTwips));
    setFont(WindowFont());
    // The colours of the window are fixed; a dark desktop theme must not put
    // its light text on them.
    setPalette(LightPalette());
    ExposeOnlyUncovered(this);
    files_ = std::make_unique<DataFiles>(
        dataFolder_,
        [this](const QString& text) {
            if (!quietStorageStatus_) ShowStatus(text);
        },
        [this] { return clock_.now(); }, ops);
    autosave_ = new Autosave([this] { AutosaveInBackground(); }, [this] { AutosaveNow(); }, this);
    connect(&diary_, &Diary::changed, autosave_, &Autosave::changed);
    sync_ = new FolderSync(diary_, *files_, dialogs_, clock_, this);
    connect(&diary_, &Diary::reloaded, this, &Form1::showReloaded);
    buildMainView();
    Grid_ = new ItemGrid(diary_, *this, Pictureb_, CommandP_, this);
    wireMainView();
    setTabOrder();
    PassEscapeToTopPanel(this);
    installShortcuts();
}

Form1::~Form1() {
    // A log save still running writes from its own snapshot; it ends first.
    if (logSave_.joinable()) logSave_.join();
    // The panels over the command column reach this window's commands when they
    // hide, and a closing window hides its children only after its own part is
    // gone: they go first, while the window is still whole.
    qDeleteAll(host()->findChildren<ColumnPanel*>(Qt::FindDirectChildrenOnly));
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
    targetRule.onSecondPoint = [this] { showDecimalPointMessage(); };
    InstallKeyRule(TextMoku_, targetRule);
    SelectAllOnFocus(TextMoku_);
    TextMoku_->installEventFilter(this);
    connect(TextMoku_, &QLineEdit::textChanged, this, [this](const QString& target) {
        diary_.SetSaltTarget(target);
        EnbunGoukei();
    });

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
    // From here on a failing step is passed over; the storage reports its own
    // failures in the status line.
    files_->Prepare();
    ItemList items = NewItemTable();
    files_->KirokuFileRead(items);
    diary_.LoadItemTable(std::move(items));
    Grid_->ShowItemPage(0);
    diary_.LoadSeasoningDefaults(BuiltInSeasonings());
    SeasoningList seasonings{};
    files_->ChomiFileRead(seasonings);
    diary_.LoadSeasoningTable(seasonings);
    if (SeasoningPanel* panel = PictureCho_.built()) panel->ShowSeasoningTable();
    QString target;
    files_->MokuFileRead(target);
    diary_.LoadSaltTarget(target);
    TextMoku_->setText(target);
    qint32 shift = DefaultPressureBarShift;
    files_->AtuFileRead(shift);
    diary_.LoadPressureBarShift(shift);
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
    LogList log;
    files_->EnbunFileRead(log);
    diary_.LoadDailyLog(std::move(log));
    if (PictureE_.isVisible()) PictureE_->ShowPage();
    // Once the window is up and running its events, so that a termination
    // signal can still end the program while the notice is open.
    QTimer::singleShot(0, this, [this] { ShowKeptCopies(); });
    sync_->Start();
}

bool Form1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // Right after the first paint is on the screen, before anything else.
    if (event->type() == QEvent::Paint && logGuard_)
        QTimer::singleShot(0, logGuard_, &BeforeFirstInput::done);
    return handled;
}

void Form1::ShowKeptCopies() {
    const auto kept = files_->takeKeptCopies();
    if (!files_->heldBack().isEmpty()) ShowStatus(HeldBackLine(files_->heldBack()));
    if (!kept.empty()) dialogs_.notice(KeptCopiesText(kept));
}

void Form1::AutosaveNow() { autosave(false); }

DataFiles& Form1::files() {
    finishLogSave();
    return *files_;
}

void Form1::AutosaveInBackground() {
    // One log save at a time: the changes made meanwhile go with the next.
    if (logSave_.joinable()) return autosave_->changed();
    autosave(true);
}

void Form1::autosave(bool logAway) {
    finishLogSave();
    const bool heldBack = !files_->heldBack().isEmpty();
    quietStorageStatus_ = autosaveFailing_;
    int failures = 0;
    for (DataFile file : AllDataFiles) {
        if (!diary_.HasChanges(file)) continue;
        const bool logWritten = diary_.LogCount() > 0 && !diary_.LogImportPending();
        if (logAway && file == DataFile::Enbun && logWritten)
            startLogSave();
        else
            failures += writeFile(file);
    }
    autosaveFailing_ = failures > 0;
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
    if (!PreviewFileName().isEmpty()) {
        Label3_->setText(PreviewReminderText);
        return;
    }
    SetBackground(Text1_0_, colour::White);
    // Empty, unless a file is held back: that line stands while it is not saved.
    Label3_->setText(HeldBackLine(files_->heldBack()));
}

void Form1::ShowStatus(const QString& text) {
    SetTextColour(Label3_, colour::Red);
    Label3_->setText(text);
}

void Form1::EnbunGoukei() {
    const QString total = DayTotalText(diary_.ItemTable());
    LabelEnbun_->setText(total);
    const bool over = TotalOverTarget(total, diary_.SaltTarget());
    SetBackground(LabelEnbun_, over ? colour::Salmon : colour::WindowBackground());
    // The colour alone tells a screen-reader user nothing.
    SpeakAmount(LabelEnbun_, QStringLiteral("塩分合計"), over ? QStringLiteral("、目標超過") : QString());
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
    const LogPlace place = diary_.FindPlace(date);
    if (place.kind == LogPlace::Kind::Existing && !dialogs_.askYesNo(OverwriteDayText)) return;
    const QString salt = LabelEnbun_->text();
    diary_.RegisterDay(place, date, salt);
    dialogs_.notice(RegisteredText(date, salt));
    Text1_0_->setFocus();
}

void Form1::showDecimalPointMessage() { dialogs_.notice(SecondPointText); }

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

int Form1::writeFile(DataFile file) {
    int failed = writeOnce(file);
    for (int tries = 0; failed == DataFiles::ChangedElsewhere && tries < 3; ++tries) {
        sync_->SyncFile(file);
        failed = writeOnce(file);
    }
    // Still changing under every try: not saved this time.
    return failed == DataFiles::ChangedElsewhere ? 1 : failed;
}

int Form1::writeOnce(DataFile file) {
    // Stays a change until a write works, so the next save tries again.
    int failed = 0;
    switch (file) {
        case DataFile::Kiroku: {
            if (diary_.ItemImportPending()) return 0;
            ItemList items = diary_.ItemTable();
            failed = files_->KirokuFileWrite(items);
            if (!failed) diary_.SavedItems(items);
            return failed;
        }
        case DataFile::Chomi: {
            SeasoningList rows = diary_.SeasoningTable();
            failed = files_->ChomiFileWrite(rows);
            if (!failed) diary_.SavedSeasonings(rows);
            return failed;
        }
        case DataFile::Moku:
            failed = files_->MokuFileWrite(diary_.SaltTarget());
            break;
        case DataFile::Enbun:
            if (diary_.LogCount() == 0 || diary_.LogImportPending()) return 0;
            failed = files_->EnbunFileWrite(diary_.DailyLog());
            break;
        case DataFile::Atu:
            failed = files_->AtuFileWrite(diary_.PressureBarShift());
            break;
    }
    if (!failed) diary_.Saved(file);
    return failed;
}

int Form1::WriteDataFiles(bool changedOnly) {
    int failures = 0;
    for (DataFile file : AllDataFiles)
        if (!changedOnly || diary_.HasChanges(file)) failures += writeFile(file);
    return failures;
}

void Form1::startLogSave() {
    const std::optional<DataFiles::LogWrite> how = files_->BeginLogWrite();
    if (!how) {
        autosaveFailing_ = true;
        return;
    }
    logSaveGeneration_ = diary_.Generation(DataFile::Enbun);
    // The snapshot shares the day's texts (their counts are atomic); building
    // 27 MB of text, comparing and writing it happens over there.
    sync_->Hold(DataFile::Enbun, true);
    const quint64 run = ++logSaveRun_;
    logSave_ = std::thread([this, run, how = *how, log = diary_.DailyLog(), &ops = files_->ops()] {
        logSaved_ = DataFiles::WriteLog(ops, how, log);
        // The window takes the result on its own thread, unless it has already.
        QMetaObject::invokeMethod(
            this, [this, run] { if (logSaveRun_ == run) finishLogSave(); }, Qt::QueuedConnection);
    });
}

void Form1::finishLogSave() {
    if (!logSave_.joinable()) return;
    logSave_.join();
    sync_->Hold(DataFile::Enbun, false);
    if (!logSaved_) return;
    quietStorageStatus_ = autosaveFailing_;
    int failed = files_->FinishLogWrite(*std::exchange(logSaved_, std::nullopt));
    if (failed == 0) {
        diary_.SavedAsOf(DataFile::Enbun, logSaveGeneration_);
    } else if (failed == DataFiles::ChangedElsewhere) {
        // Changed elsewhere meanwhile: merged and written here, as any save.
        failed = writeFile(DataFile::Enbun);
    }
    if (failed) autosaveFailing_ = true;
    quietStorageStatus_ = false;
}

void Form1::SaveAll() {
    sync_->Stop();
    finishLogSave();
    if (logGuard_) logGuard_->done();
    autosave_->stop();
    if (WriteDataFiles(false) > 0) dialogs_.notice(StorageErrorText);
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
