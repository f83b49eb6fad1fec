#include "core/ArrayData.h"

#include "base/Exceptions.h"
#include "core/IntegerList.h"

#include <gtest/gtest.h>

using namespace vellum;

namespace {

std::vector<int32_t> Values(TIntArray& a) {
    std::vector<int32_t> v;
    for (int i = 0; i < a.GetCount(); ++i) v.push_back(a.Get(i));
    return v;
}

void Fill(TIntArray& a, std::initializer_list<int32_t> values) {
    int i = 0;
    for (int32_t v : values) a.Put(i++, v);
}

} // namespace

TEST(ArrayData, ItemsGrowAndElementSizeResets) {
    TArrayData a;
    a.SetElementSize(4);
    for (int i = 0; i < 3; ++i) *static_cast<int32_t*>(a.Items(i)) = i + 1;
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(a.Items(-1), nullptr);
    a.SetElementSize(8);
    EXPECT_EQ(a.Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(*static_cast<int64_t*>(a.Items(i)), 0);
    a.SetCount(0);
    a.SetCount(2);
    EXPECT_EQ(*static_cast<int64_t*>(a.Items(1)), 0);
}

TEST(ArrayData, DeleteInsertMoveStayInBounds) {
    TIntArray a;
    Fill(a, {10, 11, 12});
    a.Delete(3);
    a.Delete(99);
    a.Delete(-1);
    EXPECT_EQ(Values(a), (std::vector<int32_t>{10, 11, 12})) << "out-of-range Delete does nothing";
    a.Delete(2);
    a.SetCount(3);
    EXPECT_EQ(a.Get(2), 0) << "a deleted element does not come back";
    a.Insert(5);
    EXPECT_EQ(Values(a), (std::vector<int32_t>{10, 11, 0, 0, 0, 0}))
        << "Insert past the end grows with zeros";
    a.Insert(1);
    EXPECT_EQ(Values(a), (std::vector<int32_t>{10, 0, 11, 0, 0, 0, 0}));
    TIntArray b;
    Fill(b, {1, 2, 3, 4});
    b.Move(0, 2);
    EXPECT_EQ(Values(b), (std::vector<int32_t>{2, 3, 1, 4}));
    b.Move(3, 0);
    EXPECT_EQ(Values(b), (std::vector<int32_t>{4, 2, 3, 1}));
    b.Move(4, 0);
    b.Move(100000, 1);
    EXPECT_EQ(Values(b), (std::vector<int32_t>{4, 2, 3, 1})) << "Move from outside does nothing";
}

TEST(ArrayData, IntArrayStreamsAndGrows) {
    TIntArray a;
    a.Put(5, 7);
    EXPECT_EQ(Values(a), (std::vector<int32_t>{0, 0, 0, 0, 0, 7}));
    EXPECT_EQ(a.Get(7), 0);
    EXPECT_EQ(a.GetCount(), 8);
    TMemoryStream s;
    a.SaveToStream(s);
    EXPECT_EQ(s.Data().left(8), QByteArray("\x04\0\0\0\x08\0\0\0", 8));
    EXPECT_EQ(s.Size(), 8 + 32);
    s.SetPosition(0);
    TIntArray b;
    b.LoadFromStream(s);
    EXPECT_EQ(Values(b), Values(a));
}

TEST(ArrayData, LoadingChecksSizesAgainstTheData) {
    const QByteArray bad[] = {
        QByteArray("\x04\0\0\0\x02\0\0\0\x01\0\0\0", 12),  // count beyond the data
        QByteArray("\x04\0\0\0\xFF\xFF\xFF\x7F", 8),       // huge count
        QByteArray("\xFF\xFF\xFF\x7F\xFF\xFF\xFF\x7F", 8), // huge size and count
        QByteArray("\xFC\xFF\xFF\xFF\x01\0\0\0", 8),       // negative size
        QByteArray("\x04\0\0", 3),
    };
    for (const QByteArray& bytes : bad) {
        TMemoryStream s(bytes);
        TArrayData a;
        EXPECT_THROW(a.LoadFromStream(s), EReadError);
    }
    // A huge element size with no elements allocates nothing.
    TMemoryStream noElements(QByteArray("\xFF\xFF\xFF\x7F\0\0\0\0", 8));
    TArrayData empty;
    empty.LoadFromStream(noElements);
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.ElementSize(), INT32_MAX);

    TMemoryStream wrongSize(QByteArray("\x02\0\0\0\x01\0\0\0ab", 10));
    TIntArray ints;
    EXPECT_THROW(ints.LoadFromStream(wrongSize), EReadError);
}

TEST(IntegerList, ValuesAndAssignment) {
    TIntegerList a(4), b(4), c(6);
    int changes = 0;
    a.OnChange = [&](TIntegerList&) { ++changes; };
    a.SetValues(3, 9);
    a.SetValues(3, 9);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.Values(0), 0);
    try {
        a.Values(4);
        ADD_FAILURE();
    } catch (const EIntegerList& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("リストのインデックスが範囲を超えています (4)"));
    }
    EXPECT_THROW(a.SetValues(-1, 0), EIntegerList);
    b.SetValues(1, 5);
    a.Assign(&b);
    EXPECT_EQ(a.Values(1), 5);
    EXPECT_EQ(a.Values(3), 0);
    EXPECT_EQ(changes, 2);
    a.Assign(&b);
    EXPECT_EQ(changes, 2) << "equal values change nothing";
    try {
        c.Assign(&a);
        ADD_FAILURE();
    } catch (const EIntegerList& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Count of Values is mismatch."));
    }
}
