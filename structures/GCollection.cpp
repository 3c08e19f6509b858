#include "structures/GCollection.h"

#include <algorithm>

#include "platform/ScopeGuard.h"
#include "platform/Strings.h"

namespace zp {

TGCollectionItem::~TGCollectionItem() {
  // Last link first; each call removes its own entry, and a descendant that
  // fails to do so must not keep this loop (or a dangling pointer) alive.
  while (links_ && !links_->empty()) {
    TGCollectionItem* other = links_->back();
    const size_t before = links_->size();
    other->LinkedItemGone(*this);
    if (links_ && links_->size() == before && links_->back() == other) {
      other->RemoveLink(this);
      RemoveLink(other);
    }
  }
}

void TGCollectionItem::LinkedItemGone(TGCollectionItem& Other) {
  if (!links_) return;
  Unlink(Other);
  Other.Unlink(*this);
}

void TGCollectionItem::Link(TGCollectionItem& Other) {
  if (links_ && std::find(links_->begin(), links_->end(), &Other) != links_->end()) return;
  if (!links_) links_ = std::make_unique<std::vector<TGCollectionItem*>>();
  links_->push_back(&Other);
  Other.Link(*this);
}

void TGCollectionItem::Unlink(TGCollectionItem& Other) {
  RemoveLink(&Other);
  Other.RemoveLink(this);
}

void TGCollectionItem::RemoveLink(const TGCollectionItem* Item) {
  if (!links_) return;
  links_->erase(std::remove(links_->begin(), links_->end(), Item), links_->end());
  if (links_->empty()) links_.reset();
}

void TGCollection::AssignTo(TPersistent& Dest) const {
  auto* strings = dynamic_cast<TStrings*>(&Dest);
  if (!strings) {
    TCollection::AssignTo(Dest);
    return;
  }
  strings->BeginUpdate();
  TScopeExit resume([strings] { strings->EndUpdate(); });
  strings->Clear();
  for (int i = 0; i < Count(); ++i) strings->Add(Item(i).DisplayName(), &Item(i));
}

}  // namespace zp
