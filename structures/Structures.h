// Umbrella header of the foundation structures: the linked collection base
// the chart's values and value lists derive from, the sort order and the
// rectangle helper.
#pragma once

#include "structures/GCollection.h"
#include "structures/GrowRect.h"
#include "structures/SortOrder.h"
