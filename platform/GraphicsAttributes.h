// TGraphicsAttributes: what the pen and the brush share. A value struct of
// attributes, setters that compare first and fire OnChange after a real
// change, and Assign that copies the attributes (never the handler).
#pragma once

#include <functional>

#include "platform/Persistent.h"

namespace zp {

template <typename Derived, typename TData>
class TGraphicsAttributes : public TPersistent {
 public:
  TGraphicsAttributes& operator=(const TGraphicsAttributes&) = delete;

  const TData& Data() const { return data_; }

  // From another of the same kind: all attributes, one OnChange when anything differed.
  void Assign(const TPersistent& Source) override {
    if (const auto* src = dynamic_cast<const Derived*>(&Source)) {
      if (data_ == src->data_) return;
      data_ = src->data_;
      Changed();
      return;
    }
    TPersistent::Assign(Source);
  }

  std::function<void(Derived& Sender)> OnChange;

 protected:
  TGraphicsAttributes() = default;
  // Copies the attributes, not the OnChange handler.
  TGraphicsAttributes(const TGraphicsAttributes& o) : TPersistent(), data_(o.data_) {}

  template <typename V>
  void Set(V TData::*Field, V Value) {
    if (data_.*Field == Value) return;
    data_.*Field = Value;
    Changed();
  }
  void Changed() {
    if (OnChange) OnChange(static_cast<Derived&>(*this));
  }

  TData data_;
};

}  // namespace zp
