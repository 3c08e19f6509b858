// TCollection and TCollectionItem: an owned, ordered collection of items with
// add/extract/delete notifications, update brackets and index moves.
//
//   class TThings : public TCollection { ... Notify(...) override; };
//   things.BeginUpdate(); ... things.EndUpdate();   // one Update(nullptr)
//   { TUpdateGuard g(things); ... }                   // the same, exception-safe
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Persistent.h"

namespace zp {

class TCollection;

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
 public:
  ~TCollectionItem() override = default;
  std::string ClassName() const override { return "TCollectionItem"; }

  // The collection holding this item, or nullptr.
  TCollection* Collection() const { return collection_; }
  // Position in the collection, -1 when in none.
  int Index() const { return index_; }
  // Moves the item to position Value (index error outside the collection); a change of the whole collection.
  void SetIndex(int Value);
  // The name shown for the item; the class name by default.
  virtual std::string DisplayName() const { return ClassName(); }
  // Serial number given by the collection at insertion.
  int ID() const { return id_; }

 protected:
  TCollectionItem() = default;
  // Tells the collection: AllItems -> Update(nullptr), else Update(this); nothing inside an update bracket.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;  // not owned
  int index_ = -1;
  int id_ = 0;
};

class TCollection : public TPersistent {
 public:
  using ItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;

  // Owner may be nullptr; Factory makes the items Add appends.
  TCollection(TPersistent* Owner, ItemFactory Factory);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  std::string ClassName() const override { return "TCollection"; }

  TPersistent* Owner() const { return owner_; }
  // What Add uses to make items (the collection's item class).
  const ItemFactory& Factory() const { return factory_; }
  int Count() const { return static_cast<int>(items_.size()); }

  // Item at Index; raises "List index out of bounds (%d)" outside 0..Count-1.
  TCollectionItem& Item(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
    return *items_[static_cast<size_t>(Index)];
  }

  // Appends a new item made by the factory and returns it.
  TCollectionItem& AddItem();
  // Appends an item made elsewhere; the collection takes ownership.
  TCollectionItem& InsertItem(std::unique_ptr<TCollectionItem> Item);
  // Deletes the item at Index (cnDeleting, then cnExtracting, then freed).
  void Delete(int Index);
  // Takes the item out of the collection (cnExtracting) and hands it over.
  std::unique_ptr<TCollectionItem> Extract(TCollectionItem& Item);
  // Removes every item, last first, inside one update bracket.
  void Clear();

  void BeginUpdate() { ++update_count_; }
  // Ends a bracket; the outermost one sends Update(nullptr).
  void EndUpdate();
  int UpdateCount() const { return update_count_; }

  // From another collection: clear, then Add and Assign for each source item.
  void Assign(const TPersistent& Source) override;

 protected:
  // Called after an item was added and before one is extracted or deleted.
  virtual void Notify(TCollectionItem& /*Item*/, TCollectionNotification /*Action*/) {}
  // Called on a change of Item, or of the whole collection when Item is nullptr.
  virtual void Update(TCollectionItem* /*Item*/) {}
  // Called after the item at From moved to To (the items between shifted by one).
  virtual void ItemMoved(int /*From*/, int /*To*/) {}
  // Sends Update(nullptr) unless inside an update bracket.
  void Changed();
  // Puts the items in a new order, stable for equal keys: every item whose
  // Less-key comes first moves ahead, one renumbering for all; then Changed.
  void StableSortItems(const std::function<bool(const TCollectionItem&, const TCollectionItem&)>& Less);

 private:
  friend class TCollectionItem;
  [[noreturn]] static void ThrowIndexError(int Index);
  void MoveItem(int From, int To);
  void Renumber(int From);
  std::unique_ptr<TCollectionItem> RemoveAt(int Index);

  TPersistent* owner_;  // not owned
  ItemFactory factory_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int update_count_ = 0;
  int next_id_ = 0;
};

// Typed front of TCollection for items of class T.
template <typename T>
class TOwnedCollection : public TCollection {
 public:
  using TCollection::TCollection;
  T& Items(int Index) const { return static_cast<T&>(Item(Index)); }
  T& Add() { return static_cast<T&>(AddItem()); }
};

// BeginUpdate now, EndUpdate on every exit path.
class TUpdateGuard {
 public:
  explicit TUpdateGuard(TCollection& c) : c_(c) { c_.BeginUpdate(); }
  ~TUpdateGuard() { c_.EndUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

 private:
  TCollection& c_;
};

}  // namespace zp
