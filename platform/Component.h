// TComponent: a named object with an optional owner that frees what it owns,
// and free notification so that objects holding a plain pointer to a
// component learn when it goes away.
#pragma once

#include <string>
#include <vector>

#include "platform/Persistent.h"

namespace zp {

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  // Owner may be nullptr; an owner only tracks (the C++ owner holds the object).
  explicit TComponent(TComponent* Owner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value) { name_ = Value; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t Value) { tag_ = Value; }

  // Asks to be told (Notification(this, opRemove)) when Other is destroyed.
  void FreeNotification(TComponent& Other);
  // Withdraws a request made with FreeNotification.
  void RemoveFreeNotification(TComponent& Other);

 protected:
  // Told when a component this one watches (or owns) is being destroyed.
  virtual void Notification(TComponent& /*AComponent*/, TOperation /*Operation*/) {}

 private:
  TComponent* owner_;  // not owned
  std::string name_;
  intptr_t tag_ = 0;
  std::vector<TComponent*> watchers_;  // not owned: told when this one goes away
  std::vector<TComponent*> watched_;   // not owned: to unregister from on destruction
};

}  // namespace zp
