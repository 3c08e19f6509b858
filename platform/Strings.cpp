#include "platform/Strings.h"

#include "platform/AsciiText.h"
#include "platform/Exceptions.h"

namespace zp {

TStrings::TStrings(std::initializer_list<std::string> lines) : lines_(lines), objects_(lines.size(), nullptr) {}

const std::string& TStrings::Strings(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  return lines_[static_cast<size_t>(Index)];
}

void TStrings::SetStrings(int Index, const std::string& Text) {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  lines_[static_cast<size_t>(Index)] = Text;
  Changed();
}

void* TStrings::Objects(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  return objects_[static_cast<size_t>(Index)];
}

void TStrings::SetObjects(int Index, void* Object) {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  objects_[static_cast<size_t>(Index)] = Object;
  Changed();
}

int TStrings::Add(const std::string& Text, void* Object) {
  Insert(Count(), Text, Object);
  return Count() - 1;
}

void TStrings::Insert(int Index, const std::string& Text, void* Object) {
  if (Index < 0 || Index > Count()) throw EListError::IndexOutOfBounds(Index);
  lines_.insert(lines_.begin() + Index, Text);
  objects_.insert(objects_.begin() + Index, Object);
  Changed();
}

void TStrings::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  lines_.erase(lines_.begin() + Index);
  objects_.erase(objects_.begin() + Index);
  Changed();
}

void TStrings::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  objects_.clear();
  Changed();
}

int TStrings::IndexOf(const std::string& Text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(lines_[static_cast<size_t>(i)], Text)) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (const auto& l : lines_) out += l + "\n";
  return out;
}

void TStrings::SetText(const std::string& Text) {
  BeginUpdate();
  lines_.clear();
  objects_.clear();
  size_t start = 0;
  while (start < Text.size()) {
    size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    std::string line = Text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(line);
    objects_.push_back(nullptr);
    start = end + 1;
  }
  EndUpdate();
}

void TStrings::EndUpdate() {
  if (update_count_ > 0) --update_count_;
  Changed();
}

void TStrings::Changed() {
  if (update_count_ == 0 && OnChange) OnChange(*this);
}

void TStrings::Assign(const TPersistent& Source) {
  if (const auto* src = dynamic_cast<const TStrings*>(&Source)) {
    if (src == this) return;
    lines_ = src->lines_;
    objects_ = src->objects_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace zp
