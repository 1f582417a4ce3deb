// SPDX-License-Identifier: Apache-2.0
#include "vantor/actual.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "support/capture.h"

namespace vantor {
namespace {

using spanto::point;
using testing::printed;

void expect_point(const point& p, double x, double y, double z) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
}

actual numbered(int n, int capacity) {
    actual set(capacity);
    for (int i = 0; i < n; ++i) set.append(point(i, 10.0 * i, 100.0 * i));
    return set;
}

TEST(ActualStore, CapacityZeroSetHoldsNothing) {
    actual set(0);
    EXPECT_FALSE(set.append(point(1, 2, 3)));
    EXPECT_FALSE(set.append(1.0, 2.0, 3.0));
    EXPECT_EQ(set.numpoints(), 0);
    EXPECT_EQ(set.NumPoints(), 0);
    EXPECT_EQ(set.maxpoints(), 0);
    EXPECT_EQ(set.NumValidPoints(), 0);
    EXPECT_EQ(set.FirstValidPoint(), -1);
    EXPECT_EQ(set.type(), element::type_actual);
}

TEST(ActualStore, AppendFillsExactlyToCapacityThenFails) {
    const point three[] = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
    actual set(4);
    EXPECT_TRUE(set.append(three, 3));
    EXPECT_TRUE(set.append(4.0, 4.0, 4.0));
    EXPECT_FALSE(set.append(point(5, 5, 5)));
    EXPECT_EQ(set.numpoints(), 4);
    EXPECT_EQ(set.FirstValidPoint(), 0);
    expect_point(set[3], 4, 4, 4);
}

TEST(ActualStore, BlockAppendThatDoesNotFitChangesNothing) {
    const point two[] = {{1, 1, 1}, {2, 2, 2}};
    actual set(3);
    set.append(point(0, 0, 0));
    EXPECT_FALSE(set.append(two, 3));
    EXPECT_FALSE(set.append(two, -1));
    EXPECT_TRUE(set.append(two, 0));
    EXPECT_EQ(set.numpoints(), 1);
    EXPECT_TRUE(set.append(two, 2));
    EXPECT_EQ(set.numpoints(), 3);
}

TEST(ActualStore, ReadOutOfRangePrintsAndReturnsAnInvalidPoint) {
    const actual set = numbered(2, 5);
    std::string out = printed(0, [&] { EXPECT_TRUE(set[-1].invalid()); });
    EXPECT_EQ(out, "idx under/overflow\n");
    out = printed(0, [&] { EXPECT_TRUE(set[2].invalid()); });
    EXPECT_EQ(out, "idx under/overflow\n");
    EXPECT_EQ(set.numpoints(), 2);
    out = printed(0, [&] { expect_point(set[1], 1, 10, 100); });
    EXPECT_EQ(out, "");
}

TEST(ActualStore, SharedInvalidPointComesBackInvalidAfterAWrite) {
    actual set(2);
    point& shared = set[5];
    shared = point(1, 2, 3);
    EXPECT_TRUE(set[7].invalid());
    const actual& readonly = set;
    printed(0, [&] { EXPECT_TRUE(readonly[9].invalid()); });
}

TEST(ActualStore, WritableIndexExtendsTheSetAndMarksSkippedEntries) {
    actual set = numbered(2, 10);
    set[2] = point(2, 2, 2);
    EXPECT_EQ(set.numpoints(), 3);
    set[5] = point(5, 5, 5);
    EXPECT_EQ(set.numpoints(), 6);
    const actual& view = set;
    EXPECT_TRUE(view[3].invalid());
    EXPECT_TRUE(view[4].invalid());
    expect_point(view[5], 5, 5, 5);
    EXPECT_TRUE(set[10].invalid());
    EXPECT_TRUE(set[-1].invalid());
    EXPECT_EQ(set.numpoints(), 6);
}

TEST(ActualStore, WritableIndexLeavesTheExtendedEntryAsStored) {
    actual set = numbered(3, 5);
    set.reset();
    EXPECT_EQ(set.numpoints(), 0);
    EXPECT_EQ(set.maxpoints(), 5);
    // After reset the storage still holds the old point 0.
    expect_point(set[0], 0, 0, 0);
    EXPECT_EQ(set.numpoints(), 1);
    // An entry never written holds an invalid point.
    EXPECT_TRUE(set[4].invalid());
}

TEST(ActualStore, ArrayConstructorsTakeTheLargerOfCountAndCapacity) {
    const point pts[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    const actual from_points(pts, 5, 2);
    EXPECT_EQ(from_points.numpoints(), 5);
    EXPECT_EQ(from_points.maxpoints(), 5);
    expect_point(from_points[4], 4, 0, 0);

    const double x[] = {1, 2, 3, 4, 5}, y[] = {6, 7, 8, 9, 10}, z[] = {11, 12, 13, 14, 15};
    const actual from_arrays(x, y, z, 5, 2);
    EXPECT_EQ(from_arrays.numpoints(), 5);
    EXPECT_EQ(from_arrays.maxpoints(), 5);
    expect_point(from_arrays[2], 3, 8, 13);

    const actual roomy(pts, 2, 8);
    EXPECT_EQ(roomy.numpoints(), 2);
    EXPECT_EQ(roomy.maxpoints(), 8);
}

TEST(ActualStore, NegativeOrNullInputGivesAnEmptySet) {
    const point pts[] = {{0, 0, 0}};
    const double x[] = {1};
    const actual negative_capacity(-5);
    EXPECT_EQ(negative_capacity.maxpoints(), 0);
    const actual negative_count(pts, -3, 4);
    EXPECT_EQ(negative_count.numpoints(), 0);
    EXPECT_EQ(negative_count.maxpoints(), 4);
    const actual null_points(static_cast<const point*>(nullptr), 3, 2);
    EXPECT_EQ(null_points.numpoints(), 0);
    EXPECT_EQ(null_points.maxpoints(), 2);
    const actual null_array(x, nullptr, x, 1, 0);
    EXPECT_EQ(null_array.numpoints(), 0);
    EXPECT_EQ(null_array.maxpoints(), 0);
}

TEST(ActualStore, RangeConstructorAcceptsEitherOrder) {
    const actual src = numbered(8, 8);
    const actual forward(src, 2, 5);
    const actual backward(src, 5, 2);
    ASSERT_EQ(forward.numpoints(), 4);
    ASSERT_EQ(backward.numpoints(), 4);
    EXPECT_EQ(forward.maxpoints(), 4);
    for (int i = 0; i < 4; ++i) {
        expect_point(forward[i], 2 + i, 10.0 * (2 + i), 100.0 * (2 + i));
        expect_point(backward[i], 2 + i, 10.0 * (2 + i), 100.0 * (2 + i));
    }
}

TEST(ActualStore, RangeConstructorOutsideTheSourceGivesCapacityZero) {
    const actual src = numbered(8, 10);
    const actual past_end(src, 2, 8);
    EXPECT_EQ(past_end.numpoints(), 0);
    EXPECT_EQ(past_end.maxpoints(), 0);
    const actual negative(src, -1, 3);
    EXPECT_EQ(negative.maxpoints(), 0);
    const actual single(src, 7, 7);
    EXPECT_EQ(single.numpoints(), 1);
}

TEST(ActualStore, CopyTakesPointsOnlyWithCapacityOfTheCount) {
    actual src = numbered(3, 10);
    src.name("source");
    src.rgbcolor(0xff0000);
    const actual copy(src);
    EXPECT_EQ(copy.numpoints(), 3);
    EXPECT_EQ(copy.maxpoints(), 3);
    EXPECT_STREQ(copy.name(), "");
    EXPECT_EQ(copy.rgbcolor(), -1);
    expect_point(copy[2], 2, 20, 200);
}

TEST(ActualStore, AssignmentCopiesAttributesCapacityAndPointsIntoOwnStorage) {
    actual src = numbered(3, 10);
    src.name("source");
    src.rgbcolor(42);
    actual target = numbered(1, 1);
    target = src;
    EXPECT_EQ(target.numpoints(), 3);
    EXPECT_EQ(target.maxpoints(), 10);
    EXPECT_STREQ(target.name(), "source");
    EXPECT_EQ(target.rgbcolor(), 42);
    EXPECT_EQ(target.creationdate(), src.creationdate());
    EXPECT_EQ(target.creationtime(), src.creationtime());
    target[0] = point(9, 9, 9);
    const actual& view = src;
    expect_point(view[0], 0, 0, 0);
    const actual& same = target;
    target = same;
    EXPECT_EQ(target.numpoints(), 3);
    EXPECT_STREQ(target.name(), "source");
}

TEST(ActualStore, BoxConstructorIncludesLowerFaceExcludesUpperFace) {
    actual src(6);
    src.append(point(0, 0, 0));      // on the lower corner: inside
    src.append(point(1, 0.5, 0.5));  // on the upper x face: outside
    src.append(point(0.5, 0.5, 0.5));
    src.append(point(spanto::nan, 0.5, 0.5));
    src.append(point(0.9, 0.9, 0.9));
    src.append(point(2, 2, 2));
    const actual box(src, point(0, 0, 0), point(1, 1, 1));
    ASSERT_EQ(box.numpoints(), 3);
    EXPECT_EQ(box.maxpoints(), 3);
    expect_point(box[0], 0, 0, 0);
    expect_point(box[1], 0.5, 0.5, 0.5);
    expect_point(box[2], 0.9, 0.9, 0.9);

    const actual empty(src, point(0, 0, 0), point(0, 0, 0));
    EXPECT_EQ(empty.numpoints(), 0);
    EXPECT_EQ(empty.maxpoints(), 0);
}

TEST(ActualStore, MovingTouchesStoredPointsOnly) {
    actual set = numbered(5, 10);
    set.reset();
    for (int i = 0; i < 3; ++i) set.append(point(i, 0, 0));
    // Entries 3 and 4 still hold the earlier points 3 and 4, beyond the count.
    set += spanto::vector(1, 0, 0);
    expect_point(set[0], 1, 0, 0);
    expect_point(set[2], 3, 0, 0);
    set.reset();
    expect_point(set[4], 4, 40, 400);

    actual moved = numbered(2, 2);
    moved -= spanto::vector(1, 2, 3);
    expect_point(moved[1], 0, 8, 97);
}

TEST(ActualStore, TransformationMovesEveryStoredPoint) {
    actual set = numbered(2, 2);
    set *= spanto::trafo(spanto::vector(0, 0, -100));
    expect_point(set[0], 0, 0, -100);
    expect_point(set[1], 1, 10, 0);
}

TEST(ActualStore, DataViewCoversTheStoredPoints) {
    const actual set = numbered(4, 9);
    EXPECT_EQ(set.end() - set.begin(), 4);
    EXPECT_EQ(set.data(), set.begin());
    double sum = 0;
    for (const point& p : set) sum += p.x;
    EXPECT_EQ(sum, 6.0);
}

TEST(ActualStore, PointSetDeletedThroughElementPointer) {
    element* e = new actual(1000);
    EXPECT_TRUE(e->isof(element::type_actual));
    delete e;  // LeakSanitizer reports the storage if the destructor were not virtual
}

}  // namespace
}  // namespace vantor
