// TStrings: an ordered list of texts, each with an optional object pointer
// (not owned), and an OnChange event fired after every change outside an
// update bracket.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Persistent.h"

namespace zp {

class TStrings : public TPersistent {
 public:
  TStrings() = default;
  TStrings(std::initializer_list<std::string> lines);
  std::string ClassName() const override { return "TStrings"; }

  int Count() const { return static_cast<int>(lines_.size()); }
  // Text at Index; raises "List index out of bounds (%d)" outside the list.
  const std::string& Strings(int Index) const;
  void SetStrings(int Index, const std::string& Text);
  void* Objects(int Index) const;
  void SetObjects(int Index, void* Object);

  // Appends a line and returns its index.
  int Add(const std::string& Text, void* Object = nullptr);
  void Insert(int Index, const std::string& Text, void* Object = nullptr);
  void Delete(int Index);
  void Clear();
  // Index of the first line equal to Text ignoring letter case, or -1.
  [[nodiscard]] int IndexOf(const std::string& Text) const;

  // The lines joined with "\n" after each line.
  std::string Text() const;
  // Replaces the lines by Text cut at line breaks ("\n" or "\r\n").
  void SetText(const std::string& Text);

  void BeginUpdate() { ++update_count_; }
  void EndUpdate();

  const std::vector<std::string>& Lines() const { return lines_; }
  bool operator==(const TStrings& o) const { return lines_ == o.lines_; }

  // Copies lines and objects of another string list.
  void Assign(const TPersistent& Source) override;

  std::function<void(TStrings& Sender)> OnChange;

 private:
  void Changed();
  std::vector<std::string> lines_;
  std::vector<void*> objects_;
  int update_count_ = 0;
};

}  // namespace zp
