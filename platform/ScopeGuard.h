// TScopeExit: runs a callable when the scope ends, on every exit path,
// exceptions included. The one bracket type for "restore this afterwards".
//
//   const bool saved = flag;  flag = true;
//   TScopeExit restore([&] { flag = saved; });
#pragma once

#include <utility>

namespace zp {

template <typename F>
class [[nodiscard]] TScopeExit {
 public:
  explicit TScopeExit(F Action) : action_(std::move(Action)) {}
  ~TScopeExit() { action_(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F action_;
};

}  // namespace zp
