#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "platform/Bits.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "structures/Structures.h"

using namespace zp;

namespace {

struct TNamed : TGCollectionItem {
  std::string name;
  std::string DisplayName() const override { return name; }
};

TGCollection MakeCollection() {
  return TGCollection(nullptr, [] { return std::make_unique<TNamed>(); });
}

bool Links(const TGCollectionItem& a, const TGCollectionItem& b) {
  if (!a.Links()) return false;
  return std::count(a.Links()->begin(), a.Links()->end(), &b) == 1;
}

}  // namespace

TEST(TGCollectionItem, LinkIsTwoWayAndIdempotent) {
  TNamed a, b;
  a.Link(b);
  a.Link(b);
  b.Link(a);
  ASSERT_TRUE(Links(a, b));
  ASSERT_TRUE(Links(b, a));
  EXPECT_EQ(a.Links()->size(), 1u);
  EXPECT_EQ(b.Links()->size(), 1u);
}

TEST(TGCollectionItem, UnlinkFreesEmptiedListsOnBothSides) {
  TNamed a, b, c;
  a.Link(b);
  a.Link(c);
  b.Unlink(a);
  EXPECT_EQ(b.Links(), nullptr);
  ASSERT_NE(a.Links(), nullptr);
  EXPECT_EQ(*a.Links(), std::vector<TGCollectionItem*>{&c});
  c.LinkedItemGone(a);
  EXPECT_EQ(a.Links(), nullptr);
  EXPECT_EQ(c.Links(), nullptr);
}

TEST(TGCollectionItem, DestructionDissolvesEveryLink) {
  TNamed b, c;
  {
    TNamed a;
    a.Link(b);
    a.Link(c);
    b.Link(c);
  }
  EXPECT_EQ(*b.Links(), std::vector<TGCollectionItem*>{&c});
  EXPECT_EQ(*c.Links(), std::vector<TGCollectionItem*>{&b});
  {
    TNamed a;
    a.Link(b);
    a.Link(c);
    c.Unlink(b);
  }
  EXPECT_EQ(b.Links(), nullptr);
  EXPECT_EQ(c.Links(), nullptr);
}

TEST(TGCollectionItem, DestructionSurvivesAnOverrideThatKeepsItsLink) {
  struct TStubborn : TGCollectionItem {
    void LinkedItemGone(TGCollectionItem&) override {}
  };
  TStubborn b;
  {
    TNamed a;
    a.Link(b);
  }
  EXPECT_EQ(b.Links(), nullptr);
}

TEST(TGCollection, CopiesIntoStringsWithItemsAsObjects) {
  TGCollection c = MakeCollection();
  for (const char* n : {"P", "Q", "R"}) static_cast<TNamed&>(c.AddItem()).name = n;
  TStrings s{"old"};
  int changes = 0;
  s.OnChange = [&](TStrings&) { ++changes; };
  s.Assign(c);
  EXPECT_EQ(s.Lines(), (std::vector<std::string>{"P", "Q", "R"}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.Objects(i), &c.Item(i));
  EXPECT_EQ(changes, 1);  // updates were suspended while copying
}

TEST(TGCollection, CopyIntoOtherClassesRaisesTheAssignmentError) {
  TGCollection c = MakeCollection();
  TBits bits;
  EXPECT_THROW_MSG(bits.Assign(c), EConvertError, "Cannot assign a TGCollection to a TBits");
}

TEST(GrowRect, GrowsByHalvesTruncatedTowardZero) {
  EXPECT_EQ(GrowRect(Rect(10, 10, 20, 20), 5, -3), Rect(8, 11, 22, 19));
  EXPECT_EQ(GrowRect(Rect(0, 0, 4, 4), 3, 3), Rect(-1, -1, 5, 5));
}
