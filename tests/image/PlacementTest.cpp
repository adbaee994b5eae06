#include "image/Placement.h"
#include "image/FieldView.h"

#include <gtest/gtest.h>

namespace zuk {
namespace {

TEST(PlacementTest, FieldInDots) {
    EXPECT_EQ(fieldInDots(1940, 8), 1293);
    EXPECT_EQ(fieldInDots(1930, 0), 1930);
    EXPECT_EQ(fieldInDots(2330, 4), 1864);
    // The empty tenth line and text matching no line leave no field at all.
    EXPECT_EQ(fieldInDots(1930, 9), 0);
    EXPECT_EQ(fieldInDots(1930, -1), 0);
}

TEST(PlacementTest, HorizontalOffsetsForTheThreeMarks) {
    const QSize field(1000, 800);
    const QSize picture(300, 100);
    auto ox = [&](HorizontalMark mark, QSize pic = QSize(300, 100)) {
        return placementOffsets(field, 0, {mark, VerticalMark::Top}, pic).x();
    };
    EXPECT_EQ(ox(HorizontalMark::Centre), 350);
    EXPECT_EQ(ox(HorizontalMark::Right), 700);
    EXPECT_EQ(ox(HorizontalMark::Left), 0);
    EXPECT_EQ(ox(HorizontalMark::Centre, QSize(1201, 100)), -100);
    EXPECT_EQ(ox(HorizontalMark::Right, QSize(1201, 100)), -201);
    (void)picture;
}

TEST(PlacementTest, VerticalOffsetsUseTheFieldInDots) {
    const QSize field(1940, 2330);
    const QSize picture(100, 401);
    auto oy = [&](VerticalMark mark, int r) {
        return placementOffsets(field, r, {HorizontalMark::Left, mark}, picture).y();
    };
    EXPECT_EQ(oy(VerticalMark::Top, 8), 0);
    EXPECT_EQ(oy(VerticalMark::Centre, 8), 2330 * 16 / 24 / 2 - 200);
    EXPECT_EQ(oy(VerticalMark::Bottom, 8), 2330 * 16 / 24 - 401);
}

TEST(PlacementTest, OddResolutionLinesCentreOnAnEmptyField) {
    for (int r : {9, -1}) {
        const QPoint offset =
            placementOffsets(QSize(1930, 2330), r, PlacementMarks{}, QSize(301, 51));
        EXPECT_EQ(offset, QPoint(-150, -25)) << r;
    }
}

TEST(PlacementTest, ButtonsSetBothMarks) {
    EXPECT_EQ(marksOfButton(1), (PlacementMarks{HorizontalMark::Left, VerticalMark::Top}));
    EXPECT_EQ(marksOfButton(2), (PlacementMarks{HorizontalMark::Centre, VerticalMark::Top}));
    EXPECT_EQ(marksOfButton(3), (PlacementMarks{HorizontalMark::Right, VerticalMark::Top}));
    EXPECT_EQ(marksOfButton(4), (PlacementMarks{HorizontalMark::Left, VerticalMark::Centre}));
    EXPECT_EQ(marksOfButton(5), (PlacementMarks{HorizontalMark::Centre, VerticalMark::Centre}));
    EXPECT_EQ(marksOfButton(6), (PlacementMarks{HorizontalMark::Right, VerticalMark::Centre}));
    EXPECT_EQ(marksOfButton(7), (PlacementMarks{HorizontalMark::Left, VerticalMark::Bottom}));
    EXPECT_EQ(marksOfButton(8), (PlacementMarks{HorizontalMark::Centre, VerticalMark::Bottom}));
    EXPECT_EQ(marksOfButton(9), (PlacementMarks{HorizontalMark::Right, VerticalMark::Bottom}));
}

TEST(PlacementTest, CaptionAfterOpening) {
    EXPECT_EQ(pictureCaption(2, QStringLiteral("C:\\a.bmp")),
              QStringLiteral("ZUK-5.5   90.3  dpi  =  35.6 т/см    (C:\\a.bmp)"));
    EXPECT_EQ(pictureCaption(9, QStringLiteral("b.bmp")), QStringLiteral("ZUK-5.5     (b.bmp)"));
    EXPECT_EQ(pictureCaption(-1, QStringLiteral("b.bmp")), QStringLiteral("ZUK-5.5     (b.bmp)"));
}

TEST(PlacementTest, ResolutionListHasNineDensitiesAndAnEmptyLine) {
    const QStringList items = resolutionItems();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[0], QStringLiteral("101.6  dpi  =  40.0 т/см"));
    EXPECT_EQ(items[8], QStringLiteral("  67.7  dpi  =  26.7 т/см"));
    EXPECT_TRUE(items[9].isEmpty());
    // Each line states 1625.6 / (16 + r) dpi.
    for (int r = 0; r < 9; ++r)
        EXPECT_TRUE(items[r].contains(QString::number(1625.6 / (16 + r), 'f', 1))) << r;
}

TEST(PlacementTest, HandlePointsRowByRow) {
    const HandlePoints points = handlePoints(QPoint(10, 20), QSize(101, 51));
    const HandlePoints expected = {QPoint(10, 20), QPoint(60, 20), QPoint(111, 20),
                                   QPoint(10, 45), QPoint(60, 45), QPoint(111, 45),
                                   QPoint(10, 71), QPoint(60, 71), QPoint(111, 71)};
    EXPECT_EQ(points, expected);
}

TEST(PlacementTest, HitTestIsStrictAtTenPixels) {
    const HandlePoints points = handlePoints(QPoint(100, 100), QSize(200, 200));
    const QPoint p5 = points[4];
    EXPECT_EQ(hitHandle(points, p5 + QPoint(9, 9)), 5);
    EXPECT_EQ(hitHandle(points, p5 + QPoint(-9, -9)), 5);
    EXPECT_EQ(hitHandle(points, p5 + QPoint(10, 0)), 0);
    EXPECT_EQ(hitHandle(points, p5 + QPoint(0, -10)), 0);
    EXPECT_EQ(hitHandle(points, p5 + QPoint(10, 10)), 0);
    EXPECT_EQ(hitHandle(points, QPoint(300, 300)), 9);
    EXPECT_EQ(hitHandle(points, QPoint(0, 0)), 0);
    // Close handles: the first in order wins.
    const HandlePoints tiny = handlePoints(QPoint(50, 50), QSize(4, 4));
    EXPECT_EQ(hitHandle(tiny, QPoint(52, 52)), 1);
}

TEST(PlacementTest, PlaceFollowsMarksSavedPlacementAndDragging) {
    Placement placement;
    placement.marks = marksOfButton(9);
    placement.place(QSize(1000, 800), 0, QSize(300, 100), std::nullopt);
    EXPECT_EQ(placement.offset, QPoint(700, 700));
    EXPECT_EQ(placement.frameOrigin, QPoint(700, 700));
    EXPECT_EQ(placement.frameSize, QSize(300, 100));
    EXPECT_EQ(placement.handles[8], QPoint(1000, 800));

    placement.place(QSize(1000, 800), 0, QSize(300, 100), QPoint(-5, 12));
    EXPECT_EQ(placement.offset, QPoint(-5, 12));
    EXPECT_EQ(placement.handles[0], QPoint(-5, 12));

    // While the frame is dragged the drawing keeps the offsets and the dragged frame.
    placement.placementChanged = true;
    placement.frameOrigin = QPoint(40, 50);
    placement.place(QSize(1000, 800), 0, QSize(300, 100), std::nullopt);
    EXPECT_EQ(placement.offset, QPoint(-5, 12));
    EXPECT_EQ(placement.handles[0], QPoint(40, 50));
}

class FieldViewTest : public ::testing::Test {
protected:
    static QImage picture(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(qRgb(200, 150, 100));
        return image;
    }
    QRgb at(int x, int y) const { return view.image().pixel(x, y) & 0xffffff; }

    FieldView view{QSize(400, 300)};
    Placement placement;
};

TEST_F(FieldViewTest, ViewIsTheFieldPlusABorderAndBlack) {
    EXPECT_EQ(view.image().size(), QSize(410, 310));
    EXPECT_EQ(at(409, 309), 0u);
}

TEST_F(FieldViewTest, DrawsThePictureAtItsOffsetsAndInvertedBlueMarkers) {
    placement.marks = marksOfButton(5);
    view.draw(picture(100, 60), placement, 0, std::nullopt);
    ASSERT_EQ(placement.offset, QPoint(155, 125));
    const QRgb inside = qRgb(200, 150, 100) & 0xffffff;
    EXPECT_EQ(at(155 + 40, 125 + 40), inside);
    EXPECT_EQ(at(154, 155), 0u);
    EXPECT_EQ(at(267, 155), 0u);
    // Marker of P1 (155, 125): its square starts at (145, 115); on black the inverted blue
    // pen shows yellow, on the picture the inverse of the picture XOR blue.
    EXPECT_EQ(at(145, 115), 0xffff00u);
    EXPECT_EQ(at(164, 134), ~(inside ^ 0x0000ffu) & 0xffffff);
    EXPECT_EQ(at(155, 117), 0xffff00u); // vertical stroke of the cross, above the picture
    EXPECT_EQ(at(155, 125), inside);    // where the strokes cross the pixel is inverted twice
    EXPECT_EQ(at(146, 116), 0u);        // inside the square, off the cross
    // Marker of P2 (205, 125) starts one pixel further left: (194, 115).
    EXPECT_EQ(at(194, 115), 0xffff00u);
    EXPECT_EQ(at(193, 115), 0u);
}

// The working field in dots is measured on the view, the stored field plus the 10-pixel strip:
// the default 1930 × 2330 field places on 1940 × 2340.
TEST(FieldViewPlacementTest, PlacementMeasuresTheViewNotTheStoredField) {
    FieldView view(QSize(1930, 2330));
    const QImage picture(100, 100, QImage::Format_RGB32);
    const auto offsetFor = [&](int button, int resolution) {
        Placement placement;
        placement.marks = marksOfButton(button);
        view.draw(picture, placement, resolution, std::nullopt);
        return placement.offset;
    };
    EXPECT_EQ(offsetFor(5, 0), QPoint(970 - 50, 1170 - 50));
    EXPECT_EQ(offsetFor(9, 0), QPoint(1940 - 100, 2340 - 100));
    EXPECT_EQ(offsetFor(1, 0), QPoint(0, 0));
    // At r = 8: 1940 × 16 div 24 = 1293 and 2340 × 16 div 24 = 1560 dots.
    EXPECT_EQ(offsetFor(5, 8), QPoint(1293 / 2 - 50, 1560 / 2 - 50));
    EXPECT_EQ(offsetFor(9, 8), QPoint(1293 - 100, 1560 - 100));
}

TEST_F(FieldViewTest, DrawingTheMarkersTwiceRestoresTheView) {
    placement.marks = marksOfButton(1);
    view.draw(picture(30, 30), placement, 0, std::nullopt);
    const QImage withMarkers = view.image().copy();
    view.toggleHandleMarkers(placement.handles);
    const QImage without = view.image().copy();
    EXPECT_NE(without, withMarkers);
    EXPECT_EQ(without.pixel(0, 0) & 0xffffff, qRgb(200, 150, 100) & 0xffffff);
    view.toggleHandleMarkers(placement.handles);
    EXPECT_EQ(view.image(), withMarkers);
}

TEST_F(FieldViewTest, APictureLargerThanTheFieldOverhangsOnBothSides) {
    placement.marks = marksOfButton(5);
    view.draw(picture(620, 520), placement, 0, std::nullopt);
    EXPECT_EQ(placement.offset, QPoint(-105, -105));
    EXPECT_EQ(at(0, 0), qRgb(200, 150, 100) & 0xffffffu);
    EXPECT_EQ(at(409, 309), qRgb(200, 150, 100) & 0xffffffu);
}

TEST_F(FieldViewTest, RedrawingClearsThePreviousPicture) {
    placement.marks = marksOfButton(1);
    view.draw(picture(300, 200), placement, 0, std::nullopt);
    placement.marks = marksOfButton(9);
    view.draw(picture(10, 10), placement, 0, std::nullopt);
    EXPECT_EQ(at(100, 100), 0u);
}

TEST_F(FieldViewTest, TheSavedPlacementWins) {
    view.draw(picture(10, 10), placement, 0, QPoint(33, 44));
    EXPECT_EQ(placement.offset, QPoint(33, 44));
    EXPECT_EQ(at(35, 46), qRgb(200, 150, 100) & 0xffffffu);
}

} // namespace
} // namespace zuk
