#pragma once
// Owning handles for PROJ's C objects, the one place that releases them. A
// context serves one owner on one thread at a time; each coordinate system
// has its own.
#include "geo/proj_library.h"

#include <memory>
#include <string>

namespace quorvane {

struct TProjContextRelease {
  void operator()(PJ_CONTEXT* context) const { QUORVANE_PROJ(proj_context_destroy)(context); }
};
struct TProjObjectRelease {
  void operator()(PJ* object) const { QUORVANE_PROJ(proj_destroy)(object); }
};
using TProjContext = std::unique_ptr<PJ_CONTEXT, TProjContextRelease>;
using TProjObject = std::unique_ptr<PJ, TProjObjectRelease>;

// A context that keeps PROJ's messages off the terminal and never asks the
// network for grids.
TProjContext NewProjContext();

// An object of PROJ's database by authority code ("EPSG", "4326"); empty
// when the database has none.
TProjObject ProjFromDatabase(PJ_CONTEXT* context, int code, PJ_CATEGORY category);

// The identifier PROJ gives an object ("EPSG", 3857), or 0 without one.
int ProjEpsgCode(const PJ* object);

}  // namespace quorvane
