#pragma once
// Where the bars of the salt list go. Lengths are in twips (1/1440 inch) on
// the x axis of the salt list: the salt bars start at 4080 and take 500 twips
// per gram; the blood-pressure bars take 30 twips per mmHg, with 0 mmHg at the
// bar shift plus 4000 (7000 with the default shift of 3000).

#include <QString>
#include <QStringView>
#include <QtGlobal>

namespace morv {

inline constexpr int SaltBarLeft = 4080;
inline constexpr int TwipsPerGram = 500;
inline constexpr int TwipsPerMmHg = 30;
inline constexpr int PressureZeroOffset = 4000;
inline constexpr int LogRowTop = 1440;
inline constexpr int LogRowPitch = 360;
inline constexpr int PressureShiftStep = 200;

// Any coordinate is held within this many twips either way, so that absurd
// values from an imported file stay far inside the range of a widget's
// geometry; such a bar simply runs off the screen.
inline constexpr double BarTwipsLimit = 1'000'000;

struct SaltBar {
    double width = 0;         // twips; 0 for a salt that is not a number or is negative
    bool overTarget = false;  // salmon instead of light yellow / light orange
};

// The bar of one day: 500 twips per gram; over the target only when both
// texts are numbers and the salt is strictly above the target.
SaltBar SaltBarFor(QStringView daySalt, QStringView saltTarget);

struct PressureBar {
    bool shown = false;  // both readings are numbers
    double left = 0;     // twips
    double width = 0;    // twips; 0 when the lower reading is above the higher
    QString caption;     // "low-high" as stored
};

PressureBar PressureBarFor(const QString& low, const QString& high, qint32 barShift);

// The shift buttons: 200 twips a click, never below 0, and never past the
// 32-bit range however often ">" is pressed.
qint32 ShiftBarsLeft(qint32 barShift);
qint32 ShiftBarsRight(qint32 barShift);

// A coordinate held within BarTwipsLimit either way.
double HeldTwips(double twips);

}  // namespace morv
