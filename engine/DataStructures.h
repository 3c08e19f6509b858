// A binary heap of objects keyed by a single-precision priority. The elitist
// selection keeps a population in a TFloatPriorityQueue, best on top, and
// picks parents by heap position.
//
//   TFloatPriorityQueue<TIndividual> q;
//   q.SetDescending(true);        // largest on top
//   q.Push(&a, 5); q.Push(&b, 9);
//   q.Items(0);                   // &b
//
// The heaps below TFloatHeap<T> keep their items untyped; their item
// functions are protected, so only the typed heap hands items out.
#pragma once

#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "platform/Persistent.h"

namespace zp::ga {

// The priority of a new or cleared element: the single-precision value nearest -3.4E38.
inline constexpr float kEmptyPriority = -3.4e38f;

class THeapElement : public TPersistent {
 public:
  explicit THeapElement(void* Item = nullptr) : item_(Item) {}
  std::string ClassName() const override { return "THeapElement"; }

  void* Item() const { return item_; }  // not owned
  void SetItem(void* Value) { item_ = Value; }
  int HeapIndex() const { return heap_index_; }
  void SetHeapIndex(int Value) { heap_index_ = Value; }

  // A new element of the same class for the same Item, assigned from this one.
  virtual std::unique_ptr<THeapElement> Clone() const;
  // Item := nothing.
  virtual void Clear() { item_ = nullptr; }
  // Copies Item and HeapIndex (and Priority between float elements).
  void Assign(const TPersistent& Source) override;

 private:
  void* item_;
  int heap_index_ = 0;
};

class TFloatHeapElement : public THeapElement {
 public:
  explicit TFloatHeapElement(void* Item = nullptr) : THeapElement(Item) {}
  std::string ClassName() const override { return "TFloatHeapElement"; }

  float Priority() const { return priority_; }
  void SetPriority(float Value) { priority_ = Value; }

  std::unique_ptr<THeapElement> Clone() const override;
  void Clear() override {
    THeapElement::Clear();
    priority_ = kEmptyPriority;
  }
  void Assign(const TPersistent& Source) override;

 private:
  float priority_ = kEmptyPriority;
};

class TCustomHeap : public TPersistent {
 public:
  using ElementFactory = std::function<std::unique_ptr<THeapElement>(void* Item)>;

  TCustomHeap();
  explicit TCustomHeap(ElementFactory Factory);
  std::string ClassName() const override { return "TCustomHeap"; }

  virtual int Count() const { return static_cast<int>(elements_.size()); }
  // The element at array position Index; raises the list index error outside.
  THeapElement& Element(int Index) const;

  bool Descending() const { return descending_; }
  // When different: store and rebuild the order, so the new best is on top.
  virtual void SetDescending(bool Value);

  virtual void SiftUp(int Index) = 0;
  virtual void SiftDown(int Index) = 0;
  // Removes every element.
  virtual void Clear();
  virtual int Reposition(THeapElement& Element) = 0;

  // Clear, copy Descending, append a clone of every source element without sifting.
  void Assign(const TPersistent& Source) override;

 protected:
  // Item of the element at array position Index (0 is the top); raises the list index error outside.
  void* ItemAt(int Index) const;
  // New element for Item, appended and sifted up.
  virtual THeapElement& AddItem(void* Item);
  virtual int IndexOfItem(void* Item) const = 0;
  virtual void* ExtractItem(int Index) = 0;
  void Exchange(int A, int B);
  // Appends a fresh element for Item without sifting.
  THeapElement& Append(void* Item);
  void RemoveLast();
  std::vector<std::unique_ptr<THeapElement>> elements_;

 private:
  ElementFactory factory_;
  // Elements freed by Clear, reused by later pushes so that rebuilding a
  // queue of the same size allocates nothing.
  std::vector<std::unique_ptr<THeapElement>> spare_;
  bool descending_ = false;
};

// The untyped float heap; TFloatHeap<T> below gives it its item type.
class TFloatHeapBase : public TCustomHeap {
 public:
  TFloatHeapBase();
  std::string ClassName() const override { return "TFloatHeap"; }

  void SiftUp(int Index) override;
  void SiftDown(int Index) override;
  // Sets the priority and restores the order; returns the element's new position.
  int SetPriority(TFloatHeapElement& Element, float Priority);
  int Reposition(THeapElement& Element) override;

  float PriorityAt(int Index) const { return static_cast<TFloatHeapElement&>(Element(Index)).Priority(); }

 protected:
  // As AddItem, with Priority set before the sift.
  TFloatHeapElement& PushItem(void* Item, float Priority);
  void* ExtractItem(int Index) override;
  // Depth-first search for Item with priority Priority; -1 when not found.
  int FindItem(const void* Item, float Priority) const;
  int IndexOfItem(void* Item) const override { return FindItem(Item, 0); }

 private:
  bool Better(float A, float B) const { return Descending() ? A > B : A < B; }
  int FindFrom(int Index, const void* Item, float Priority) const;
};

// A heap of items of type T (not owned), keyed by a single-precision priority.
template <typename T>
class TFloatHeap : public TFloatHeapBase {
 public:
  // Item of the element at array position Index (0 is the top); raises the list index error outside.
  T* Items(int Index) const { return static_cast<T*>(ItemAt(Index)); }
  // New element for Item with the empty priority, appended and sifted up.
  THeapElement& Add(T* Item) { return AddItem(Item); }
  // As Add, with Priority set before the sift.
  TFloatHeapElement& Push(T* Item, float Priority) { return PushItem(Item, Priority); }
  // Removes the element at Index and restores the order; returns its item.
  T* Extract(int Index) { return static_cast<T*>(ExtractItem(Index)); }
  // Depth-first search for Item with priority Priority; -1 when not found.
  int Find(const T* Item, float Priority) const { return FindItem(Item, Priority); }
  int IndexOf(const T* Item) const { return FindItem(Item, 0); }
};

template <typename T>
class TFloatPriorityQueue : public TFloatHeap<T> {
 public:
  std::string ClassName() const override { return "TFloatPriorityQueue"; }
};

}  // namespace zp::ga
