// Tests of TIntList and KeyedList.

#include <gtest/gtest.h>

#include "common/errors.h"
#include "plan/int_list.h"
#include "plan/keyed_list.h"

namespace casavo {
namespace {

TIntList ListOf(std::initializer_list<int32_t> items) {
  TIntList list;
  for (int32_t item : items) list.Append(item);
  return list;
}

TEST(TIntList, AppendStopsAtAThousandItemsAndKeepsThem) {
  TIntList list;
  for (int32_t i = 1; i <= TIntList::kCapacity; ++i) list.Append(i);
  EXPECT_THROW(list.Append(1001), RangeError);
  EXPECT_EQ(list.Count, 1000);
  EXPECT_EQ(list[1000], 1000);
  EXPECT_THROW(list[1001], RangeError);
  EXPECT_THROW(list[0], RangeError);
}

TEST(TIntList, TextFormCountsThenItems) {
  EXPECT_EQ(TIntList().ToText(), "(0)");
  EXPECT_EQ(ListOf({5, 8, 12}).ToText(), "(3),5,8,12");
  EXPECT_EQ(ListOf({-5, 0}).ToText(), "(2),-5,0");
}

TEST(TIntList, SortedUnionMergesWithoutDuplicates) {
  EXPECT_EQ(TIntList::SortedUnion(ListOf({5, 1, 5}), ListOf({1, 9})).ToText(), "(3),1,5,9");
  EXPECT_EQ(TIntList::SortedUnion(TIntList(), ListOf({1000, 1})).ToText(), "(2),1,1000");
  EXPECT_THROW(TIntList::SortedUnion(ListOf({0}), TIntList()), RangeError);
  EXPECT_THROW(TIntList::SortedUnion(TIntList(), ListOf({1001})), RangeError);
}

TEST(KeyedList, ValuesAreStoredReplacedAndRemovedByKey) {
  KeyedList list;
  EXPECT_EQ(list.Value("A1"), "");
  list.SetValue("A1", "Cuisine");
  list.SetValue("b2", "Chambre");
  list.SetValue("C3", "Salon=Séjour");
  EXPECT_EQ(list.Value("a1"), "Cuisine");  // keys ignore letter case
  EXPECT_EQ(list.Value("C3"), "Salon=Séjour");
  list.SetValue("B2", "Bureau");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.KeyAt(1), "b2");
  EXPECT_EQ(list.ValueAt(1), "Bureau");

  list.SetValue("A1", "");  // the empty text removes the line
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Value("A1"), "");
  EXPECT_EQ(list.KeyAt(0), "b2");
  EXPECT_EQ(list.Value("c3"), "Salon=Séjour");  // later lines still found
  list.SetValue("D4", "");
  EXPECT_EQ(list.Count(), 2);
  list.SetValue("A1", "WC");
  EXPECT_EQ(list.KeyAt(2), "A1");
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Value("b2"), "");
}

}  // namespace
}  // namespace casavo
