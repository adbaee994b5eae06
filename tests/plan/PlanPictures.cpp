#include "PlanPictures.h"

#include "image/Conversion.h"
#include "plan/PlanLine.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sstream>

namespace zuk::test {

DotImage blankPicture(int width, int height) {
    DotImage picture;
    SilentProgress progress;
    sizeGrids(picture, QSize(width, height), progress);
    return picture;
}

void setPixel(DotImage& picture, int x, int y, int gray, double dot) {
    picture.gray.at(y + 1, x + 1) = gray;
    picture.dots.at(y + 1, x + 2) = dot;
}

double dotAt(const DotImage& picture, int x, int y) {
    return picture.dots.at(y + 1, x + 2);
}

double dotValueOfCode(char code) {
    static const double values[] = {0, 64, 128, 192, 255};
    return values[code - '0'];
}

DotImage drawnPicture(const std::vector<std::string>& rows) {
    const int height = int(rows.size());
    const int width = height == 0 ? 0 : int(rows.front().size());
    DotImage picture = blankPicture(width, height);
    for (int y = 0; y < height; ++y) {
        EXPECT_EQ(int(rows[y].size()), width) << "row " << y;
        for (int x = 0; x < width; ++x) {
            const char c = rows[y][x];
            if (c >= '0' && c <= '4')
                setPixel(picture, x, y, 200, dotValueOfCode(c));
            else if (c >= 'a' && c <= 'd')
                setPixel(picture, x, y, 0, dotValueOfCode(char('1' + (c - 'a'))));
            else
                EXPECT_TRUE(c == '.' || c == 'o') << "unknown cell '" << c << "'";
        }
    }
    return picture;
}

std::unique_ptr<QTemporaryDir> scratchDirectory() {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable())
        return std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/zuk-plan-XXXXXX"));
    return std::make_unique<QTemporaryDir>();
}

QByteArray planOf(DotImage& picture, bool singleSided, PlanBuildResult* result) {
    const auto dir = scratchDirectory();
    SilentPlanProgress progress;
    const PlanBuildResult built =
        buildPlan(picture, singleSided, ProgramDir(dir->path()), progress);
    if (result)
        *result = built;
    if (!built.ok) {
        if (!result)
            ADD_FAILURE() << built.error.toStdString();
        return {};
    }
    QFile file(dir->filePath(QLatin1String(kPlanFileName)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QList<QByteArray> linesOf(const QByteArray& plan) {
    QList<QByteArray> lines = plan.split('\n');
    const bool lastLineEnded = plan.endsWith('\n');
    if (lastLineEnded)
        lines.removeLast();
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k + 1 == lines.size() && !lastLineEnded)
            break;
        EXPECT_TRUE(lines[k].endsWith('\r')) << lines[k].toStdString();
        lines[k].chop(1);
    }
    return lines;
}

QList<QByteArray> expectedLines(const std::vector<std::string>& lines) {
    QList<QByteArray> expected;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string keyword;
        int row = 0;
        int column = 0;
        if (words >> keyword && keyword == "GoTo" && words >> row >> column)
            expected << goToLine(row, column);
        else
            expected << QByteArray::fromStdString(line);
    }
    return expected;
}

} // namespace zuk::test
