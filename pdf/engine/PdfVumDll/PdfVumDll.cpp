// The library's exported C interface.
#include "vumpdf.h"
