#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "platform/Bits.h"
#include "platform/Collection.h"
#include "platform/Exceptions.h"

using namespace zp;

namespace {

struct TThing : TCollectionItem {
  std::string ClassName() const override { return "TThing"; }
  int value = 0;
  void Assign(const TPersistent& s) override {
    if (auto* t = dynamic_cast<const TThing*>(&s)) {
      value = t->value;
      return;
    }
    TCollectionItem::Assign(s);
  }
  void Touch() { Changed(false); }
};

struct TThings : TOwnedCollection<TThing> {
  TThings() : TOwnedCollection(nullptr, [] { return std::make_unique<TThing>(); }) {}
  std::vector<std::string> log;
  void Notify(TCollectionItem& i, TCollectionNotification a) override {
    static const char* n[] = {"added", "extracting", "deleting"};
    log.push_back(std::string(n[static_cast<int>(a)]) + " " + std::to_string(static_cast<TThing&>(i).value));
  }
  void Update(TCollectionItem* i) override { log.push_back(i ? "update item" : "update all"); }
};

}  // namespace

TEST(TCollection, NotifiesAddsDeletesAndBrackets) {
  TThings c;
  c.Add().value = 0;
  c.Add();
  c.Items(1).value = 1;
  EXPECT_EQ(c.log, (std::vector<std::string>{"added 0", "update all", "added 0", "update all"}));
  c.log.clear();
  c.Delete(0);
  EXPECT_EQ(c.log, (std::vector<std::string>{"deleting 0", "extracting 0", "update all"}));
  EXPECT_EQ(c.Items(0).Index(), 0);
  c.log.clear();
  c.BeginUpdate();
  c.Add();
  c.Add();
  c.Items(0).Touch();
  c.EndUpdate();
  EXPECT_EQ(c.log, (std::vector<std::string>{"added 0", "added 0", "update all"}));
  c.log.clear();
  c.Items(0).Touch();
  EXPECT_EQ(c.log, (std::vector<std::string>{"update item"}));
}

TEST(TCollection, MovesItemsAndKeepsIndexes) {
  TThings c;
  for (int i = 0; i < 4; ++i) c.Add().value = i;
  c.Items(0).SetIndex(2);
  EXPECT_EQ(c.Items(0).value, 1);
  EXPECT_EQ(c.Items(2).value, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(c.Items(i).Index(), i);
  EXPECT_THROW(c.Items(0).SetIndex(9), EListError);
}

TEST(TCollection, IndexErrorCarriesTheIndex) {
  TThings c;
  EXPECT_THROW_MSG(c.Items(3), EListError, "List index out of bounds (3)");
  EXPECT_THROW(c.Delete(-1), EListError);
}

TEST(TCollection, AssignRebuildsAndRejectsUnrelatedClasses) {
  TThings a, b;
  for (int i = 0; i < 3; ++i) a.Add().value = 10 + i;
  b.Add().value = 99;
  b.log.clear();
  b.Assign(a);
  ASSERT_EQ(b.Count(), 3);
  EXPECT_EQ(b.Items(2).value, 12);
  EXPECT_EQ(b.log.back(), "update all");
  EXPECT_EQ(std::count(b.log.begin(), b.log.end(), "update all"), 1);  // one bracket
  TBits bits;
  EXPECT_THROW_MSG(b.Assign(bits), EConvertError, "Cannot assign a TBits to a TCollection");
}

TEST(TBits, GrowsOnWriteAndRejectsOutsideReads) {
  TBits b;
  EXPECT_THROW(b.Bit(0), EBitsError);
  b.SetBit(70, true);
  EXPECT_EQ(b.Size(), 71);
  EXPECT_FALSE(b.Bit(69));
  EXPECT_TRUE(b.Bit(70));
  EXPECT_THROW(b.SetBit(-1, true), EBitsError);
  EXPECT_EQ(b.Size(), 71);
  b.SetSize(65);
  b.SetSize(71);
  EXPECT_FALSE(b.Bit(70));  // shrinking drops bits, growing brings zeros
  EXPECT_THROW_MSG(b.Bit(71), EBitsError, "Bits index out of range");
}

TEST(TBits, WordRangeOperationsMatchBitLoops) {
  TBits src, a, ref;
  for (int i = 0; i < 200; ++i) src.SetBit(i, (i * 7 + 3) % 5 < 2);
  for (int first : {0, 1, 63, 64, 100})
    for (int last : {first, first + 1, 127, 128, 199}) {
      if (last >= 200 || last < first) continue;
      a.SetSize(0);
      a.SetSize(200);
      ref.SetSize(0);
      ref.SetSize(200);
      a.CopyRange(src, first, last);
      a.FlipRange(first, last);
      for (int i = first; i <= last; ++i) ref.SetBit(i, !src.Bit(i));
      ASSERT_TRUE(a == ref) << first << ".." << last;
    }
}

TEST(TBits, BlendTakesLowUpToTheCutAndHighAfterIt) {
  for (int size : {1, 63, 64, 65, 160, 200}) {
    TBits low, high, a;
    for (int i = 0; i < size; ++i) {
      low.SetBit(i, (i * 7 + 3) % 5 < 2);
      high.SetBit(i, (i * 11 + 1) % 3 == 0);
    }
    for (int cut : {-5, -1, 0, 1, 62, 63, 64, 65, 127, 128, size - 2, size - 1, size, size + 70}) {
      a.SetSize(size);
      a.Blend(low, high, cut);
      for (int i = 0; i < size; ++i) ASSERT_EQ(a.Bit(i), i <= cut ? low.Bit(i) : high.Bit(i)) << size << " " << cut;
      a.SetSize(size + 1);
      ASSERT_FALSE(a.Bit(size));  // the words past Size stay clear
    }
  }
}
