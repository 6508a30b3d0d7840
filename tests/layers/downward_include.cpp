// Compiled against the document layer's include roots: a layer reaches
// every layer below it.
#include "document/sizing.h"
#include "geo/geo_reference.h"
#include "io/format_registry.h"
#include "raster/bitmap.h"
