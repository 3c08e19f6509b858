#include <gtest/gtest.h>

#include <vector>

#include "engine/DataStructures.h"
#include "platform/Exceptions.h"

using namespace zp;
using namespace zp::ga;

namespace {

struct Heap {
  TFloatPriorityQueue<int> q;
  int items[16] = {};  // payload objects; their addresses identify the pushes
  void Push(std::initializer_list<float> priorities) {
    int k = q.Count();
    for (float p : priorities) q.Push(&items[k++], p);
  }
  std::vector<float> Priorities() const {
    std::vector<float> out;
    for (int i = 0; i < q.Count(); ++i) out.push_back(q.PriorityAt(i));
    return out;
  }
  // Every element knows its position and no child is better than its parent.
  void ExpectHeap() const {
    for (int i = 0; i < q.Count(); ++i) {
      EXPECT_EQ(q.Element(i).HeapIndex(), i);
      if (i > 0) {
        const float parent = q.PriorityAt((i - 1) / 2), child = q.PriorityAt(i);
        EXPECT_TRUE(q.Descending() ? parent >= child : parent <= child) << "position " << i;
      }
    }
  }
};

}  // namespace

TEST(FloatHeap, EqualPrioritiesKeepPushOrder) {
  Heap h;
  h.q.SetDescending(true);
  h.Push({5, 9, 7, 9});
  EXPECT_EQ(h.Priorities(), (std::vector<float>{9, 9, 7, 5}));
  EXPECT_EQ(h.q.Items(0), &h.items[1]);  // the first 9 pushed stays on top
  EXPECT_EQ(h.q.Items(1), &h.items[3]);
  h.ExpectHeap();

  Heap a;
  a.Push({3, 1, 2});
  EXPECT_EQ(a.Priorities(), (std::vector<float>{1, 3, 2}));
  EXPECT_EQ(a.q.Extract(0), &a.items[1]);
  EXPECT_EQ(a.Priorities(), (std::vector<float>{2, 3}));
  a.ExpectHeap();
  EXPECT_THROW(a.q.Items(2), EListError);
}

TEST(FloatHeap, ExtractFromTheMiddleSiftsEitherWay) {
  Heap h;
  h.Push({1, 10, 2, 11, 12, 3, 4});
  EXPECT_EQ(h.Priorities(), (std::vector<float>{1, 10, 2, 11, 12, 3, 4}));
  EXPECT_EQ(h.q.Extract(3), &h.items[3]);  // 4 moves into position 3 and rises past 10
  EXPECT_EQ(h.Priorities(), (std::vector<float>{1, 4, 2, 10, 12, 3}));
  h.ExpectHeap();
  EXPECT_EQ(h.q.Extract(5), &h.items[5]);  // the last: simply removed
  EXPECT_EQ(h.Priorities(), (std::vector<float>{1, 4, 2, 10, 12}));
  EXPECT_EQ(h.q.Extract(1), &h.items[6]);  // 12 moves into position 1 and sinks
  EXPECT_EQ(h.Priorities(), (std::vector<float>{1, 10, 2, 12}));
  h.ExpectHeap();
}

TEST(FloatHeap, SetPriorityAndReposition) {
  Heap h;
  h.Push({1, 3, 2});
  TFloatHeapElement& e = static_cast<TFloatHeapElement&>(h.q.Element(1));  // priority 3
  EXPECT_EQ(h.q.SetPriority(e, 0), 0);
  EXPECT_EQ(h.Priorities(), (std::vector<float>{0, 1, 2}));
  EXPECT_EQ(h.q.SetPriority(e, 5), 1);  // sinks to the better child's place
  EXPECT_EQ(h.Priorities(), (std::vector<float>{1, 5, 2}));
  e.SetPriority(-1);
  EXPECT_EQ(h.q.Reposition(e), 0);
  h.ExpectHeap();
}

TEST(FloatHeap, FindSearchesOnlyBelowBetterPriorities) {
  Heap h;
  h.Push({1, 3, 2});
  EXPECT_EQ(h.q.Find(&h.items[2], 2), 2);
  EXPECT_EQ(h.q.Find(&h.items[1], 3), 1);
  EXPECT_EQ(h.q.Find(&h.items[2], 3), -1);

  // Below a different element of equal priority nothing is found.
  Heap eq;
  eq.Push({1, 1});
  EXPECT_EQ(eq.q.Find(&eq.items[0], 1), 0);
  EXPECT_EQ(eq.q.Find(&eq.items[1], 1), -1);

  // IndexOf looks for priority 0.
  Heap z;
  z.Push({-2, 0, 5});
  EXPECT_EQ(z.q.IndexOf(&z.items[1]), 1);
  EXPECT_EQ(z.q.IndexOf(&z.items[2]), -1);
}

TEST(FloatHeap, ChangingTheOrderOfAFilledHeapRebuildsIt) {
  Heap h;
  h.Push({7, 1, 2, 3, 4, 5, 6});
  h.ExpectHeap();
  h.q.SetDescending(true);
  EXPECT_EQ(h.q.Items(0), &h.items[0]);  // 7 on top, though it was pushed first
  h.ExpectHeap();
  h.q.SetDescending(false);
  EXPECT_EQ(h.q.PriorityAt(0), 1);
  h.ExpectHeap();
}

TEST(FloatHeap, ElementsClearCloneAndAssign) {
  TFloatHeapElement fresh;
  EXPECT_EQ(fresh.Priority(), -3.4e38f);
  EXPECT_EQ(fresh.Item(), nullptr);

  Heap h;
  h.q.SetDescending(true);
  h.Push({5, 9, 7});
  TFloatHeapElement& top = static_cast<TFloatHeapElement&>(h.q.Element(0));
  auto copy = top.Clone();
  EXPECT_EQ(copy->ClassName(), "TFloatHeapElement");
  EXPECT_EQ(copy->Item(), &h.items[1]);
  EXPECT_EQ(static_cast<TFloatHeapElement&>(*copy).Priority(), 9);
  top.Clear();
  EXPECT_EQ(top.Item(), nullptr);
  EXPECT_EQ(top.Priority(), -3.4e38f);
  EXPECT_EQ(copy->Item(), &h.items[1]);

  // A plain Add leaves the empty priority, the worst for a largest-first heap.
  Heap a;
  a.q.SetDescending(true);
  a.Push({1});
  a.q.Add(&a.items[5]);
  EXPECT_EQ(a.q.PriorityAt(1), -3.4e38f);

  // Assign copies the array as it is, without sifting, into independent elements.
  Heap src;
  src.q.SetDescending(true);
  src.Push({5, 9, 7, 9});
  TFloatPriorityQueue<int> dst;
  dst.Push(&src.items[9], 1);
  dst.Assign(src.q);
  EXPECT_TRUE(dst.Descending());
  ASSERT_EQ(dst.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(dst.Items(i), src.q.Items(i));
    EXPECT_EQ(dst.PriorityAt(i), src.q.PriorityAt(i));
    EXPECT_EQ(dst.Element(i).HeapIndex(), i);
    EXPECT_NE(&dst.Element(i), &src.q.Element(i));
  }
  dst.Clear();
  EXPECT_EQ(dst.Count(), 0);
  EXPECT_EQ(src.q.Count(), 4);
  dst.Push(&src.items[0], 2);  // reuse after Clear starts from a clean element
  EXPECT_EQ(dst.Element(0).HeapIndex(), 0);
  EXPECT_EQ(dst.Items(0), &src.items[0]);
}

namespace {
// A heap of plain elements, only to be copied from.
struct TPlainHeap : zp::ga::TCustomHeap {
  void Add(int* Item) { AddItem(Item); }
  void SiftUp(int) override {}
  void SiftDown(int) override {}
  int IndexOfItem(void*) const override { return -1; }
  void* ExtractItem(int) override { return nullptr; }
  int Reposition(zp::ga::THeapElement& e) override { return e.HeapIndex(); }
};
}  // namespace

TEST(TFloatHeap, AssignFromAPlainHeapGivesFloatElements) {
  int a = 0, b = 0;
  TPlainHeap plain;
  plain.Add(&a);
  plain.Add(&b);
  zp::ga::TFloatHeap<int> heap;
  heap.Push(&b, 3);
  heap.Assign(plain);
  ASSERT_EQ(heap.Count(), 2);
  EXPECT_EQ(heap.Items(0), &a);
  EXPECT_EQ(heap.Items(1), &b);
  EXPECT_EQ(heap.PriorityAt(1), zp::ga::kEmptyPriority);
  EXPECT_NE(dynamic_cast<zp::ga::TFloatHeapElement*>(&heap.Element(0)), nullptr);
}
