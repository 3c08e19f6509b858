// Umbrella header of the platform layer.
#pragma once

#include "platform/AsciiText.h"
#include "platform/Bits.h"
#include "platform/Collection.h"
#include "platform/Component.h"
#include "platform/EnumNames.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "platform/Persistent.h"
#include "platform/Random.h"
#include "platform/Set.h"
#include "platform/Strings.h"
