// Brackets around a long command, each restoring what it changed on every
// exit path, exceptions included.
//
//   TWaitCursor hourglass;                        // until the end of the scope
//   TCommandLock lock(busy_, {btnRun, btnInit});  // busy_ true, commands disabled
#pragma once

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

namespace zp::app {

// The hourglass cursor over the whole application for the guard's lifetime.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// Sets Busy and disables the commands, so that events processed while a
// command runs cannot start another one; restores the commands' enabled
// state and the keyboard focus afterwards.
class TCommandLock {
 public:
  TCommandLock(bool& Busy, std::initializer_list<QWidget*> Commands)
      : busy_(Busy), focus_(QApplication::focusWidget()) {
    busy_ = true;
    for (QWidget* w : Commands) {
      commands_.push_back({w, w->isEnabled()});
      w->setEnabled(false);
    }
  }
  ~TCommandLock() {
    for (const TCommand& c : commands_)
      if (c.widget) c.widget->setEnabled(c.was_enabled);
    if (focus_ && focus_->isEnabled()) focus_->setFocus();
    busy_ = false;
  }
  TCommandLock(const TCommandLock&) = delete;
  TCommandLock& operator=(const TCommandLock&) = delete;

 private:
  struct TCommand {
    QPointer<QWidget> widget;  // not owned
    bool was_enabled;
  };
  bool& busy_;
  QPointer<QWidget> focus_;  // not owned
  std::vector<TCommand> commands_;
};

}  // namespace zp::app
