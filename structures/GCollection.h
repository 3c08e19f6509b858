// TGCollection: an owned collection that can copy itself into a list of
// texts (one line per item, its display name, the item as the line's object).
// TGCollectionItem: a collection item linked both ways to other items; the
// links (not owned) dissolve when either item is destroyed.
//
//   a.Link(b);        // b in a.Links(), a in b.Links()
//   strings.Assign(collection);   // lines P, Q, R with their items
#pragma once

#include <memory>
#include <vector>

#include "platform/Collection.h"

namespace zp {

class TGCollectionItem : public TCollectionItem {
 public:
  ~TGCollectionItem() override;
  std::string ClassName() const override { return "TGCollectionItem"; }

  // The linked items in link order; nullptr while there is no link at all.
  const std::vector<TGCollectionItem*>* Links() const { return links_.get(); }

  // Other is going away: drops the link on both sides (nothing without links).
  virtual void LinkedItemGone(TGCollectionItem& Other);
  // Links both ways; linking an already linked item changes nothing.
  virtual void Link(TGCollectionItem& Other);
  // Drops the link on both sides; a list left empty is freed.
  virtual void Unlink(TGCollectionItem& Other);

 protected:
  TGCollectionItem() = default;

 private:
  // Removes Item from this side only; frees an emptied list.
  void RemoveLink(const TGCollectionItem* Item);
  std::unique_ptr<std::vector<TGCollectionItem*>> links_;  // entries not owned
};

class TGCollection : public TCollection {
 public:
  using TCollection::TCollection;
  std::string ClassName() const override { return "TGCollection"; }

 protected:
  // Into a list of texts: cleared, then one line per item; other targets raise
  // the assignment error.
  void AssignTo(TPersistent& Dest) const override;
};

}  // namespace zp
