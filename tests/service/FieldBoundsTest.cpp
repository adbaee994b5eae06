#include "service/FieldBounds.h"
#include "image/Placement.h"
#include "service/MovementFixture.h"

namespace zuk::test {
namespace {

Placement placed(QPoint offset, QSize picture) {
    Placement placement;
    placement.offset = offset;
    placement.frameOrigin = offset;
    placement.frameSize = picture;
    return placement;
}

TEST(FieldBounds, TheTravelIsTheViewMeasuredInDotsOfTheResolution) {
    EXPECT_EQ(workingFieldInDots({1940, 2340}, 0), QSize(1940, 2340));
    EXPECT_EQ(workingFieldInDots({1940, 2340}, 8), QSize(1293, 1560));
    // The odd choices of the density dialog: the motors step 25 and 15 units per dot.
    EXPECT_EQ(workingFieldInDots({1940, 2340}, 9), QSize(1241, 1497));
    EXPECT_EQ(workingFieldInDots({1940, 2340}, -1), QSize(2069, 2496));
    EXPECT_EQ(workingFieldInDots({1940, 2340}, 10), QSize(0, 0));
    EXPECT_EQ(workingFieldInDots({1940, 2340}, -2), QSize(0, 0));
}

TEST(FieldBounds, APictureFitsUpToTheFieldsEdgesAndNotOnePastThem) {
    const QSize field(1000, 800);
    EXPECT_EQ(placementFitsField(placed({0, 0}, {1000, 800}), field), std::nullopt);
    EXPECT_EQ(placementFitsField(placed({700, 600}, {300, 200}), field), std::nullopt);
    for (const QPoint offset : {QPoint(701, 600), QPoint(700, 601), QPoint(-1, 0), QPoint(0, -1)})
        EXPECT_TRUE(placementFitsField(placed(offset, {300, 200}), field).has_value())
            << offset.x() << "," << offset.y();

    const std::optional<QString> refusal = placementFitsField(placed({-20, 10}, {300, 200}), field);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(*refusal, "Рисунок выходит за рабочее поле: рисунок 300 × 200 точек с началом в "
                        "точке (-20, 10), рабочее поле 1000 × 800 точек. Расположите рисунок на "
                        "поле заново.");
}

TEST(FieldBounds, FarOffsetsDoNotOverflowAndAnEmptyFieldIsNamed) {
    EXPECT_TRUE(placementFitsField(placed({2147483000, 0}, {32767, 10}), {1000, 800}).has_value());
    const std::optional<QString> empty = placementFitsField(placed({0, 0}, {10, 10}), {0, 0});
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->contains("плотности точек"));
}

using PlacementOnTheMainField = MovementFixture;

TEST_F(PlacementOnTheMainField, EveryPlacementButtonFitsAPictureSmallerThanTheField) {
    for (int button = 1; button <= 9; ++button) {
        placement().marks = marksOfButton(button);
        placePicture({300, 200});
        EXPECT_EQ(placementFitsField(program.image), std::nullopt) << button;
    }
    // Centred, a picture wider than the field overhangs it on both sides.
    placement().marks = marksOfButton(5);
    placePicture({2500, 200});
    EXPECT_TRUE(placementFitsField(program.image).has_value());
}

} // namespace
} // namespace zuk::test
