#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <optional>

namespace zuk {

// The engraving plan, "123123123.txt": one record per line, CR LF line ends, ASCII only.
// A line is recognised by its first five characters:
//   "GoTo: " row(6) column(6)   move the head to that cell (numbers right-aligned in 6)
//   "Down: "                    lower the needle
//   "Up  : "                    raise the needle (two blanks after "Up")
//   "Knock: " digits            strike run left to right, one digit per cell
//   "KBack: " digits            strike run right to left, one digit per cell
//   empty                       a separator
// Rows and columns are gray-grid indices (picture pixel (x, y) is row y+1, column x+1); the
// run adds the placement offsets.
enum class PlanLineKind { GoTo, Down, Up, Knock, KBack, Other };

inline constexpr QByteArrayView kGoToPrefix = "GoTo: ";
inline constexpr QByteArrayView kDownLine = "Down: ";
inline constexpr QByteArrayView kUpLine = "Up  : ";
inline constexpr QByteArrayView kKnockPrefix = "Knock: ";
inline constexpr QByteArrayView kKBackPrefix = "KBack: ";
inline constexpr QByteArrayView kPlanLineEnd = "\r\n";
// Where the strike digits begin: after the seven-character prefix.
inline constexpr int kStrikeDigitsStart = 7;
// The number fields of a "GoTo:" line: characters 7-12 and 13-18, counted from 1.
inline constexpr int kGoToRowStart = 6;
inline constexpr int kGoToColumnStart = 12;
inline constexpr int kGoToFieldWidth = 6;

// The kind of a plan line, by its first five characters.
PlanLineKind planLineKind(QByteArrayView line);

// A plan cell, as a "GoTo:" line names it.
struct PlanCell {
    qint32 row = 0;
    qint32 column = 0;
    bool operator==(const PlanCell&) const = default;
};

// The row and column of a "GoTo:" line: each field is six characters, leading blanks
// allowed. Nothing when a field holds anything else (a damaged or hand-edited plan).
std::optional<PlanCell> parseGoTo(QByteArrayView line);

// The strike digits of a "Knock:" or "KBack:" line: everything after the prefix.
QByteArrayView strikeDigits(QByteArrayView line);
// The digits without their trailing "0" characters.
QByteArrayView withoutTrailingZeros(QByteArrayView digits);
// True when every character is a digit '0'..'9'.
bool allDigits(QByteArrayView digits);

// Strikes counted by strike code: [0] for "1" (the level "8") to [3] for "4" (the level "32").
using StrikeCounts = std::array<qint64, 4>;
// The strikes of a "Knock:" or "KBack:" line by code; none for any other line.
StrikeCounts strikeCounts(QByteArrayView line);

// A number right-aligned in a field of six characters (a longer number takes the room it
// needs).
QByteArray planNumber(qint64 value);
// "GoTo: " followed by the row and the column, without the line end.
QByteArray goToLine(qint32 row, qint32 column);

} // namespace zuk
