// What every library and platform source may include.
#include "library/debug/guard.h"
#include "platform/framework/component.h"
