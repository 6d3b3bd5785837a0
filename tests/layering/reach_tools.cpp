// A tool's header: only tools and their tests may include it.
#include "tools/assetgen/art.h"
