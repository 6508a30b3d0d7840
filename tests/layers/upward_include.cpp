// Compiled against the raster layer's include root only: the bottom layer
// must not be able to reach a header of a layer above it.
#include "geo/geo_reference.h"
