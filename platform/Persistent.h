// TPersistent: the base of everything that can be assigned from another
// object. Assigning from an unrelated class raises "Cannot assign a %s to a %s".
#pragma once

#include <string>

namespace zp {

class TPersistent {
 public:
  virtual ~TPersistent() = default;

  // The class name used in messages and as default display name.
  virtual std::string ClassName() const { return "TPersistent"; }

  // Copies Source into this object. The default asks Source to copy itself
  // into this one, which fails for unrelated classes.
  virtual void Assign(const TPersistent& Source) { Source.AssignTo(*this); }

 protected:
  TPersistent() = default;
  TPersistent(const TPersistent&) = default;
  TPersistent& operator=(const TPersistent&) = default;

  // Raises the assignment error unless a subclass knows how to copy into Dest.
  virtual void AssignTo(TPersistent& Dest) const;
};

}  // namespace zp
