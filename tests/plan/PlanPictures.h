#pragma once

#include "image/DotImage.h"
#include "plan/PlanBuilder.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <memory>

#include <string>
#include <vector>

namespace zuk::test {

// A picture of width × height black pixels with its grids sized as an open sizes them.
DotImage blankPicture(int width, int height);

// Sets pixel (x, y): its gray value (0: not a picture cell) and its dot value.
void setPixel(DotImage& picture, int x, int y, int gray, double dot);

// The dot value of pixel (x, y).
double dotAt(const DotImage& picture, int x, int y);

// A picture drawn as text, one string per pixel row:
//   '.'        no picture cell (gray 0, dot value 0)
//   '0'..'4'   a picture cell (gray 200) with the dot value 0, 64, 128, 192, 255
//   'o'        a hole cell (gray 0) with dot value 0 ... 'a'..'d' holes with 64..255
DotImage drawnPicture(const std::vector<std::string>& rows);

// The dot value of a strike code '0'..'4'.
double dotValueOfCode(char code);

// A temporary directory for plan files, in memory where the system has one: a plan is put in
// place with a sync to disk, which is slow on a shared build machine.
std::unique_ptr<QTemporaryDir> scratchDirectory();

// Builds the plan in a temporary program directory; the plan file's bytes (empty and a
// failed test when the build fails).
QByteArray planOf(DotImage& picture, bool singleSided, PlanBuildResult* result = nullptr);

// The plan's lines without their CR LF (the file's final line break ends the last line).
QList<QByteArray> linesOf(const QByteArray& plan);

// Plan lines written the way the tests spell them: "GoTo r c" stands for the "GoTo:" line of
// row r and column c, every other text is taken as it is.
QList<QByteArray> expectedLines(const std::vector<std::string>& lines);

} // namespace zuk::test
