// The blood-pressure side of the salt-list screen: entering, replacing and
// deleting a logged day's reading, and its bars in the rows of the list.

#include "diary/DataFileRequests.h"
#include "diary/Diary.h"
#include "log/BarPixels.h"
#include "log/SaltListScreen.h"
#include "log/core/BloodPressure.h"
#include "log/core/LogPages.h"
#include "platform/Announce.h"
#include "platform/CalendarControl.h"
#include "platform/KeyRules.h"
#include "platform/core/Clock.h"
#include "platform/core/Dialogs.h"
#include "text/DateText.h"
#include "ui/Colours.h"
#include "ui/DateBox.h"
#include "ui/StatusLine.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morv {

namespace {

const QString NotLoggedText = QStringLiteral("塩分登録されていない日付に血圧は登録できません");
const QString OverwriteReadingText =
    QStringLiteral("指定された日付の血圧はすでに登録されています\r\n\r\n内容を書き換えますか？");
const QString DeleteReadingText = QStringLiteral("指定された日付の血圧を削除してよろしいですか？");

}  // namespace

void SaltListScreen::wirePressure() {
    KeyRule dateRule;
    dateRule.chars = KeyRule::Chars::DigitsAndSlash;
    dateRule.maxTyped = 10;
    dateRule.onEnter = [this] { focusText5(); };
    InstallKeyRule(Text2, dateRule);
    SelectAllOnFocus(Text2);
    Text2->installEventFilter(this);
    // A date typed by hand must not leave the delete button speaking for the
    // date that was there before.
    connect(Text2, &QLineEdit::textEdited, this, &SaltListScreen::PressureDeleteAvailability);

    for (QLineEdit* reading : {Text5, Text6}) {
        KeyRule rule;
        rule.chars = KeyRule::Chars::Digits;
        rule.maxTyped = 3;
        rule.onEnter = [this, first = reading == Text5] { onPressureEnter(first); };
        InstallKeyRule(reading, rule);
        SelectAllOnFocus(reading);
        connect(reading, &QLineEdit::textChanged, this, &SaltListScreen::updateRegisterAvailability);
    }
    updateRegisterAvailability();

    connect(Command40, &QPushButton::clicked, this, &SaltListScreen::TogglePressureDisplay);
    connect(Command37, &QPushButton::clicked, this, &SaltListScreen::PressureDayBefore);
    connect(Command36, &QPushButton::clicked, this, &SaltListScreen::PressureDayAfter);
    connect(Command35, &QPushButton::clicked, this, &SaltListScreen::OpenPressureCalendar);
    connect(Command39, &QPushButton::clicked, this, &SaltListScreen::RegisterPressure);
    connect(Command38, &QPushButton::clicked, this, &SaltListScreen::DeletePressure);
    connect(Command41, &QPushButton::clicked, this, &SaltListScreen::ShiftBarsLeft);
    connect(Command42, &QPushButton::clicked, this, &SaltListScreen::ShiftBarsRight);
}

bool SaltListScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text2 && event->type() == QEvent::MouseButtonPress) {
        Calendar2.hide();
        focusText5();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void SaltListScreen::focusText5() { Text5->setFocus(); }

void SaltListScreen::updateRegisterAvailability() {
    Command39->setEnabled(!Text5->text().isEmpty() && !Text6->text().isEmpty());
}

void SaltListScreen::DrawPressureBars() {
    const int filled = RowsOnPage(shownFirst_, diary_.LogCount());
    for (int r = 0; r < filled; ++r) {
        const LogRecord& day = diary_.DailyLog()[static_cast<size_t>(shownFirst_ + r)];
        QLabel* label = LabelE4[r];
        const PressureBar bar = PressureBarFor(day.PressureLow, day.PressureHigh, diary_.PressureBarShift());
        if (!bar.shown) {
            label->hide();
            continue;
        }
        const PixelSpan span = ToPixels(bar.left, bar.width);
        label->setGeometry(span.left, label->y(), span.width, label->height());
        label->setText(bar.caption);
        // A short bar cannot show its whole caption.
        label->setToolTip(bar.caption);
        label->setAccessibleName(QStringLiteral("血圧 %1").arg(bar.caption));
        label->show();
    }
    for (int r = filled; r < Rows; ++r) LabelE4[r]->hide();
}

void SaltListScreen::TogglePressureDisplay() {
    Calendar2.hide();
    Text2->setText(date_.DateShown());
    Text5->clear();
    Text6->clear();
    if (Command40->text() != PressureDisplayOffCaption) {
        Command40->setText(PressureDisplayOffCaption);
        Picture5->hide();
        Picture6->hide();
        hidePressureBars();
        // The focused button's new caption is not read out by itself.
        Announce(QStringLiteral("血圧を隠しました、ボタンは %1").arg(PressureDisplayOffCaption));
        return;
    }
    Command40->setText(PressureDisplayOnCaption);
    Announce(QStringLiteral("血圧を表示しました、ボタンは %1").arg(PressureDisplayOnCaption));
    Picture5->show();
    Picture6->show();
    DrawPressureBars();
    Command38->setEnabled(false);
    Command39->setEnabled(false);
    PressureDeleteAvailability();
    focusText5();
}

void SaltListScreen::PressureDeleteAvailability() {
    Command38->setEnabled(false);
    const qsizetype at = FindLogDate(diary_.DailyLog(), Text2->text());
    if (at >= 0 && HasReading(diary_.DailyLog()[static_cast<size_t>(at)])) Command38->setEnabled(true);
}

void SaltListScreen::movePressureDate(int days) {
    if (const auto moved = MovedDateText(Text2->text(), days)) Text2->setText(*moved);
    PressureDeleteAvailability();
    focusText5();
}

void SaltListScreen::PressureDayBefore() { movePressureDate(-1); }
void SaltListScreen::PressureDayAfter() { movePressureDate(1); }

void SaltListScreen::OpenPressureCalendar() {
    Calendar2->show();
    Calendar2->raise();
    Calendar2->setFromText(Text2->text(), clock_.today());
}

void SaltListScreen::onPressureDayPicked() {
    Text2->setText(Calendar2->pickedText());
    PressureDeleteAvailability();
    Calendar2.hide();
    focusText5();
}

void SaltListScreen::onPressureEnter(bool inFirstBox) {
    if (!Text5->text().isEmpty() && !Text6->text().isEmpty()) RegisterPressure();
    if (inFirstBox) {
        if (!Text5->text().isEmpty()) Text6->setFocus();
    } else if (!Text6->text().isEmpty() && Text5->text().isEmpty()) {
        focusText5();
    }
}

void SaltListScreen::RegisterPressure() {
    const QString date = Text2->text();
    qsizetype at = FindLogDate(diary_.DailyLog(), date);
    if (at >= 0 && !diary_.DailyLog()[static_cast<size_t>(at)].PressureLow.isEmpty()) {
        if (!dialogs_.askYesNo(OverwriteReadingText)) return;
        // The log may have changed while the question was open (another
        // machine's save came in): the day is found again by its date.
        at = FindLogDate(diary_.DailyLog(), date);
    }
    if (at < 0) {
        dialogs_.notice(NotLoggedText);
        return;
    }
    const PressureReading reading = OrderReading(Text5->text(), Text6->text());
    diary_.SetReading(static_cast<int>(at), reading.low, reading.high);
    Command38->setEnabled(true);
    Text5->clear();
    Text6->clear();
    focusText5();
    Announce(QStringLiteral("血圧 %1/%2 を登録しました").arg(reading.high, reading.low));
}

void SaltListScreen::DeletePressure() {
    if (!dialogs_.askYesNo(DeleteReadingText)) {
        focusText5();
        return;
    }
    const qsizetype at = FindLogDate(diary_.DailyLog(), Text2->text());
    if (at < 0) return;
    diary_.ClearReading(static_cast<int>(at));
    Command38->setEnabled(false);
    focusText5();
}

void SaltListScreen::ShiftBarsLeft() {
    diary_.SetPressureBarShift(morv::ShiftBarsLeft(diary_.PressureBarShift()));
    focusText5();
}

void SaltListScreen::ShiftBarsRight() {
    diary_.SetPressureBarShift(morv::ShiftBarsRight(diary_.PressureBarShift()));
    focusText5();
}

}  // namespace morv
