#include "platform/Persistent.h"

#include "platform/Exceptions.h"

namespace zp {

void TPersistent::AssignTo(TPersistent& Dest) const { throw CannotAssign(ClassName(), Dest.ClassName()); }

}  // namespace zp
