#include "geo/proj_library.h"

#include <dlfcn.h>

#include <string>

#include "raster/error.h"

namespace quorvane {

namespace {

void* OpenProj() {
  // Never closed: PROJ keeps its state until the process ends.
  void* library = dlopen(QUORVANE_PROJ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    throw EQuorvaneError(std::string("Cannot load the coordinate library: ") +
                         (why ? why : QUORVANE_PROJ_LIBRARY));
  }
  return library;
}

}  // namespace

void* ProjFunction(const char* name) {
  static void* const library = OpenProj();
  void* function = dlsym(library, name);
  if (!function)
    throw EQuorvaneError(std::string("Cannot load the coordinate library: no ") + name);
  return function;
}

}  // namespace quorvane
