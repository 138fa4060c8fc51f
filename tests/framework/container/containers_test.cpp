// Cursor semantics shared by every dynamic container, checked on each kind; owned pointers.
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

#include "framework/container/KyArray.h"
#include "framework/container/KyDynArray.h"
#include "framework/container/KyList.h"
#include "framework/container/KyPtrArrays.h"

namespace {

template <typename C>
std::vector<int> Items(const C& c) {
  std::vector<int> out;
  for (int i = 0; i < c.GetLength(); ++i) out.push_back(*c.GetPtrAt(i));
  return out;
}

template <typename C>
class CursorTest : public ::testing::Test {};
using Kinds = ::testing::Types<KyDynArray<int>, KyList<int>, KyDList<int>, KyXList<int>>;
TYPED_TEST_SUITE(CursorTest, Kinds);

TYPED_TEST(CursorTest, AppendInsertDelFollowTheCursor) {
  TypeParam c;
  EXPECT_EQ(c.GetCurIndex(), -1);
  EXPECT_EQ(c.Append(10), 0);
  EXPECT_EQ(c.Append(30), 1);
  EXPECT_EQ(c.GetCurIndex(), 1);
  EXPECT_EQ(c.Insert(1, 20), 1);
  EXPECT_EQ(c.Insert(0, 5), 0);
  EXPECT_EQ(c.Insert(4, 40), 4);
  EXPECT_EQ(Items(c), (std::vector<int>{5, 10, 20, 30, 40}));

  // InsertCur goes after the cursor; DelCur leaves the cursor on the element before.
  ASSERT_TRUE(c.MoveTo(-1));
  EXPECT_EQ(c.InsertCur(1), 0);
  ASSERT_TRUE(c.MoveTo(3));
  ASSERT_TRUE(c.DelCur());
  EXPECT_EQ(c.GetCurIndex(), 2);
  EXPECT_EQ(c.InsertCur(25), 3);
  EXPECT_EQ(Items(c), (std::vector<int>{1, 5, 10, 25, 30, 40}));
  ASSERT_TRUE(c.Del(0));
  EXPECT_EQ(c.GetCurIndex(), -1);
  EXPECT_FALSE(c.DelCur());
  ASSERT_TRUE(c.Del(c.GetLength() - 1));
  EXPECT_EQ(c.Append(50), 4);  // the tail is still right after deleting the last element
  EXPECT_EQ(Items(c), (std::vector<int>{5, 10, 25, 30, 50}));

  // Walking backwards after a forward walk (cached positions) reads the right elements.
  int v = 0;
  const std::vector<int> expected = Items(c);
  for (int i = c.GetLength() - 1; i >= 0; --i) {
    ASSERT_TRUE(c.GetAt(i, v));
    EXPECT_EQ(v, expected[static_cast<size_t>(i)]);
  }

  c.Reset();
  EXPECT_EQ(c.GetLength(), 0);
  EXPECT_EQ(c.GetCurIndex(), -1);
  EXPECT_EQ(c.Append(7), 0);
}

TYPED_TEST(CursorTest, OutOfRangeIsRefused) {
  TypeParam c;
  c.Append(1);
  int v = 99;
  EXPECT_FALSE(c.GetAt(1, v));
  EXPECT_FALSE(c.GetAt(-1, v));
  EXPECT_EQ(v, 99);
  EXPECT_FALSE(c.SetAt(5, 3));
  EXPECT_FALSE(c.MoveTo(1));
  EXPECT_FALSE(c.MoveTo(-2));
  EXPECT_EQ(c.Insert(3, 2), KY_INVALID_INDEX);
  EXPECT_EQ(c.Insert(-1, 2), KY_INVALID_INDEX);
  EXPECT_FALSE(c.Del(1));
  EXPECT_FALSE(c.Del(-1));
  EXPECT_EQ(Items(c), std::vector<int>{1});
}

TYPED_TEST(CursorTest, SortIsStableBothWays) {
  // Sorted on the first member only, so the second tells whether equal keys kept their order.
  struct Keyed {
    int key, seq;
    bool operator<(const Keyed& o) const { return key < o.key; }
    bool operator==(const Keyed& o) const { return key == o.key && seq == o.seq; }
  };
  using Same = typename std::conditional<std::is_same<TypeParam, KyDynArray<int>>::value, KyDynArray<Keyed>,
               typename std::conditional<std::is_same<TypeParam, KyList<int>>::value, KyList<Keyed>, KyXList<Keyed>>::type>::type;
  Same c;
  int keys[] = {3, 1, 3, 2, 1, 3};
  for (int i = 0; i < 6; ++i) c.Append({keys[i], i});
  c.Sort(true);
  std::vector<std::pair<int, int>> got;
  for (int i = 0; i < c.GetLength(); ++i) got.push_back({c.GetPtrAt(i)->key, c.GetPtrAt(i)->seq});
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{1, 1}, {1, 4}, {2, 3}, {3, 0}, {3, 2}, {3, 5}}));
  c.Sort(false);
  got.clear();
  for (int i = 0; i < c.GetLength(); ++i) got.push_back({c.GetPtrAt(i)->key, c.GetPtrAt(i)->seq});
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{3, 0}, {3, 2}, {3, 5}, {2, 3}, {1, 1}, {1, 4}}));
}

TEST(XList, ReverseKeepsBothDirectionsLinked) {
  KyXList<int> l;
  for (int i = 0; i < 5; ++i) l.Append(i);
  l.Reverse();
  EXPECT_EQ(Items(l), (std::vector<int>{4, 3, 2, 1, 0}));
  int v = 0;
  ASSERT_TRUE(l.GetAt(3, v));  // reached backwards from the tail side
  EXPECT_EQ(v, 1);
  EXPECT_EQ(l.Append(9), 5);
  EXPECT_EQ(Items(l), (std::vector<int>{4, 3, 2, 1, 0, 9}));
}

struct Counted {
  static int alive;
  int id;
  explicit Counted(int i) : id(i) { ++alive; }
  ~Counted() { --alive; }
};
int Counted::alive = 0;

template <typename C>
class OwnedTest : public ::testing::Test {};
using OwnedKinds = ::testing::Types<KyDynPArray<Counted>, KyPDList<Counted>, KyPXList<Counted>>;
TYPED_TEST_SUITE(OwnedTest, OwnedKinds);

TYPED_TEST(OwnedTest, DeletesWhatItHoldsAndHandsOutWhatIsTakenOff) {
  Counted::alive = 0;
  Counted* taken = nullptr;
  {
    TypeParam c;
    for (int i = 0; i < 4; ++i) c.Append(new Counted(i));
    EXPECT_TRUE(c.Del(1));
    EXPECT_EQ(Counted::alive, 3);
    taken = c.TakeOff(1);  // id 2; its slot stays, empty
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->id, 2);
    EXPECT_EQ(c.GetLength(), 3);
    EXPECT_EQ(c.Get(1), nullptr);
    EXPECT_EQ(c.TakeOff(1), nullptr);
    EXPECT_EQ(c.TakeOff(7), nullptr);
    EXPECT_EQ(c.PlaceIn(new Counted(10)), 1);  // fills the empty slot
    EXPECT_EQ(c.PlaceIn(new Counted(11)), 3);  // none left: appended
    EXPECT_EQ(c.PlaceIn(nullptr), KY_INVALID_INDEX);
    EXPECT_EQ(c.Get(1)->id, 10);
    EXPECT_EQ(Counted::alive, 5);
    c.Reset();
    EXPECT_EQ(Counted::alive, 1);
    c.Append(new Counted(12));
  }
  EXPECT_EQ(Counted::alive, 1);  // the destructor deleted the rest; the taken one is ours
  delete taken;
  EXPECT_EQ(Counted::alive, 0);
}

TEST(FixedArrays, CheckedAccess) {
  KyArray<int> a(3, 7);
  int v = 0;
  EXPECT_TRUE(a.GetAt(2, v));
  EXPECT_EQ(v, 7);
  EXPECT_FALSE(a.SetAt(3, 1));
  EXPECT_EQ(a.GetPtrAt(-1), nullptr);

  Ky2dArray<int> g(2, 3);
  EXPECT_TRUE(g.SetAt(1, 2, 5));
  EXPECT_TRUE(g.GetAt(1, 2, v));
  EXPECT_EQ(v, 5);
  EXPECT_FALSE(g.SetAt(2, 0, 1));
  EXPECT_FALSE(g.SetAt(0, 3, 1));  // would alias (1, 0) in a flat block
  EXPECT_TRUE(g.GetAt(1, 0, v));
  EXPECT_EQ(v, 0);
  Ky2dArray<int> empty(0, 4);
  EXPECT_EQ(empty.GetCols(), 0);
}

}  // namespace
