#include "engine/DataStructures.h"

#include "platform/Exceptions.h"

namespace zp::ga {

std::unique_ptr<THeapElement> THeapElement::Clone() const {
  auto e = std::make_unique<THeapElement>(item_);
  e->Assign(*this);
  return e;
}

void THeapElement::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const THeapElement*>(&Source)) {
    item_ = src->item_;
    heap_index_ = src->heap_index_;
    return;
  }
  TPersistent::Assign(Source);
}

std::unique_ptr<THeapElement> TFloatHeapElement::Clone() const {
  auto e = std::make_unique<TFloatHeapElement>(Item());
  e->Assign(*this);
  return e;
}

void TFloatHeapElement::Assign(const TPersistent& Source) {
  THeapElement::Assign(Source);
  if (const auto* src = dynamic_cast<const TFloatHeapElement*>(&Source)) priority_ = src->priority_;
}

TCustomHeap::TCustomHeap() : TCustomHeap([](void* item) { return std::make_unique<THeapElement>(item); }) {}

TCustomHeap::TCustomHeap(ElementFactory Factory) : factory_(std::move(Factory)) {}

THeapElement& TCustomHeap::Element(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  return *elements_[static_cast<size_t>(Index)];
}

void* TCustomHeap::ItemAt(int Index) const { return Element(Index).Item(); }

void TCustomHeap::SetDescending(bool Value) {
  if (descending_ == Value) return;
  descending_ = Value;
  // A full rebuild: re-sifting only the last element would leave the rest in the old order.
  for (int i = Count() / 2 - 1; i >= 0; --i) SiftDown(i);
}

THeapElement& TCustomHeap::Append(void* Item) {
  std::unique_ptr<THeapElement> e;
  if (!spare_.empty()) {
    e = std::move(spare_.back());
    spare_.pop_back();
    e->SetItem(Item);
  } else {
    e = factory_(Item);
  }
  e->SetHeapIndex(Count());
  elements_.push_back(std::move(e));
  return *elements_.back();
}

THeapElement& TCustomHeap::AddItem(void* Item) {
  THeapElement& e = Append(Item);
  if (Count() > 1) SiftUp(Count() - 1);
  return e;
}

void TCustomHeap::Clear() {
  for (auto& e : elements_) {
    e->Clear();
    spare_.push_back(std::move(e));
  }
  elements_.clear();
}

void TCustomHeap::RemoveLast() {
  elements_.back()->Clear();
  spare_.push_back(std::move(elements_.back()));
  elements_.pop_back();
}

void TCustomHeap::Exchange(int A, int B) {
  std::swap(elements_[static_cast<size_t>(A)], elements_[static_cast<size_t>(B)]);
  elements_[static_cast<size_t>(A)]->SetHeapIndex(A);
  elements_[static_cast<size_t>(B)]->SetHeapIndex(B);
}

void TCustomHeap::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TCustomHeap*>(&Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  Clear();
  descending_ = src->descending_;
  // Copies are made in this heap's own element class, so a float heap never
  // holds elements without a priority, whatever heap it copies.
  for (const auto& e : src->elements_) {
    auto copy = factory_(e->Item());
    copy->Assign(*e);
    elements_.push_back(std::move(copy));
  }
}

TFloatHeapBase::TFloatHeapBase() : TCustomHeap([](void* item) { return std::make_unique<TFloatHeapElement>(item); }) {}

void TFloatHeapBase::SiftUp(int Index) {
  while (Index > 0) {
    const int parent = (Index - 1) / 2;
    if (!Better(PriorityAt(Index), PriorityAt(parent))) break;
    Exchange(Index, parent);
    Index = parent;
  }
}

void TFloatHeapBase::SiftDown(int Index) {
  int c = 2 * Index + 1;
  while (c < Count()) {
    if (c + 1 < Count() && Better(PriorityAt(c + 1), PriorityAt(c))) ++c;
    if (!Better(PriorityAt(c), PriorityAt(Index))) break;
    Exchange(Index, c);
    Index = c;
    c = 2 * Index + 1;
  }
}

TFloatHeapElement& TFloatHeapBase::PushItem(void* Item, float Priority) {
  auto& e = static_cast<TFloatHeapElement&>(Append(Item));
  e.SetPriority(Priority);
  if (Count() > 1) SiftUp(Count() - 1);
  return e;
}

int TFloatHeapBase::Reposition(THeapElement& Element) {
  const int i = Element.HeapIndex();
  if (i > 0 && Better(PriorityAt(i), PriorityAt((i - 1) / 2)))
    SiftUp(i);
  else
    SiftDown(i);
  return Element.HeapIndex();
}

int TFloatHeapBase::SetPriority(TFloatHeapElement& Element, float Priority) {
  Element.SetPriority(Priority);
  return Reposition(Element);
}

void* TFloatHeapBase::ExtractItem(int Index) {
  void* item = ItemAt(Index);
  const int last = Count() - 1;
  if (Index == last) {
    RemoveLast();
    return item;
  }
  Exchange(Index, last);
  RemoveLast();
  Reposition(Element(Index));
  return item;
}

int TFloatHeapBase::FindFrom(int Index, const void* Item, float Priority) const {
  if (Index >= Count()) return -1;
  const auto& e = static_cast<const TFloatHeapElement&>(*elements_[static_cast<size_t>(Index)]);
  if (e.Priority() == Priority && e.Item() == Item) return Index;
  if (!Better(e.Priority(), Priority)) return -1;
  const int left = FindFrom(2 * Index + 1, Item, Priority);
  return left >= 0 ? left : FindFrom(2 * Index + 2, Item, Priority);
}

int TFloatHeapBase::FindItem(const void* Item, float Priority) const { return FindFrom(0, Item, Priority); }

}  // namespace zp::ga
