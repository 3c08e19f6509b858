#include "platform/Collection.h"

#include <algorithm>

#include "platform/Exceptions.h"

namespace zp {

void TCollectionItem::SetIndex(int Value) {
  if (!collection_ || index_ == Value) return;
  collection_->MoveItem(index_, Value);
  Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
  if (collection_ && collection_->update_count_ == 0) collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TPersistent* Owner, ItemFactory Factory) : owner_(Owner), factory_(std::move(Factory)) {}

TCollection::~TCollection() {
  // Items leave without notifications: the owner is being torn down.
  update_count_ = 1;
  for (auto& item : items_) item->collection_ = nullptr;
  items_.clear();
}

void TCollection::ThrowIndexError(int Index) { throw EListError::IndexOutOfBounds(Index); }

TCollectionItem& TCollection::AddItem() { return InsertItem(factory_()); }

TCollectionItem& TCollection::InsertItem(std::unique_ptr<TCollectionItem> Item) {
  TCollectionItem& item = *Item;
  items_.push_back(std::move(Item));
  item.collection_ = this;
  item.index_ = Count() - 1;
  item.id_ = next_id_++;
  Notify(item, TCollectionNotification::cnAdded);
  Changed();
  return item;
}

std::unique_ptr<TCollectionItem> TCollection::RemoveAt(int Index) {
  TCollectionItem& item = Item(Index);
  Notify(item, TCollectionNotification::cnExtracting);
  auto owned = std::move(items_[static_cast<size_t>(Index)]);
  items_.erase(items_.begin() + Index);
  Renumber(Index);
  owned->collection_ = nullptr;
  owned->index_ = -1;
  Changed();
  return owned;
}

void TCollection::Delete(int Index) {
  Notify(Item(Index), TCollectionNotification::cnDeleting);
  RemoveAt(Index);
}

std::unique_ptr<TCollectionItem> TCollection::Extract(TCollectionItem& Item) {
  if (Item.collection_ != this) return nullptr;
  return RemoveAt(Item.index_);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  TUpdateGuard guard(*this);
  while (!items_.empty()) RemoveAt(Count() - 1);
}

void TCollection::EndUpdate() {
  if (update_count_ > 0) --update_count_;
  Changed();
}

void TCollection::Changed() {
  if (update_count_ == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent& Source) {
  const auto* src = dynamic_cast<const TCollection*>(&Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  TUpdateGuard guard(*this);
  Clear();
  for (int i = 0; i < src->Count(); ++i) AddItem().Assign(src->Item(i));
}

void TCollection::StableSortItems(const std::function<bool(const TCollectionItem&, const TCollectionItem&)>& Less) {
  std::stable_sort(items_.begin(), items_.end(), [&](const auto& A, const auto& B) { return Less(*A, *B); });
  Renumber(0);
  Changed();
}

void TCollection::MoveItem(int From, int To) {
  if (To < 0 || To >= Count()) throw EListError::IndexOutOfBounds(To);
  auto item = std::move(items_[static_cast<size_t>(From)]);
  items_.erase(items_.begin() + From);
  items_.insert(items_.begin() + To, std::move(item));
  Renumber(std::min(From, To));
  ItemMoved(From, To);
}

void TCollection::Renumber(int From) {
  for (int i = From; i < Count(); ++i) items_[static_cast<size_t>(i)]->index_ = i;
}

}  // namespace zp
