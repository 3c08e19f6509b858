#include "platform/Component.h"

#include <algorithm>

namespace zp {

namespace {
void Erase(std::vector<TComponent*>& v, TComponent* c) { v.erase(std::remove(v.begin(), v.end(), c), v.end()); }
}  // namespace

TComponent::TComponent(TComponent* Owner) : owner_(Owner) {
  if (owner_) {
    FreeNotification(*owner_);
    owner_->FreeNotification(*this);
  }
}

TComponent::~TComponent() {
  // Tell every watcher first, then stop watching others.
  auto watchers = watchers_;
  for (TComponent* w : watchers) {
    Erase(w->watched_, this);
    w->Notification(*this, TOperation::opRemove);
  }
  for (TComponent* c : watched_) Erase(c->watchers_, this);
}

void TComponent::FreeNotification(TComponent& Other) {
  if (&Other == this) return;
  if (std::find(Other.watchers_.begin(), Other.watchers_.end(), this) == Other.watchers_.end()) {
    Other.watchers_.push_back(this);
    watched_.push_back(&Other);
  }
}

void TComponent::RemoveFreeNotification(TComponent& Other) {
  Erase(Other.watchers_, this);
  Erase(watched_, &Other);
}

}  // namespace zp
