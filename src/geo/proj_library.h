#pragma once
// PROJ is opened at the first call into it, not when the program starts:
// the library and the network, TLS and database libraries it pulls in cost
// a process about 9 MB resident before main, which reports that need no
// coordinate system (a picture's header, a resize) should not pay. Calls go
// through QUORVANE_PROJ(proj_function)(arguments...), which looks the
// function up once.
#include <proj.h>
#include <proj_experimental.h>

namespace quorvane {

// The address of one of PROJ's functions. Throws EQuorvaneError when the
// library or the function cannot be found.
void* ProjFunction(const char* name);

}  // namespace quorvane

#define QUORVANE_PROJ(function)                                                       \
  ([] {                                                                               \
    static const auto address =                                                       \
        reinterpret_cast<decltype(&::function)>(::quorvane::ProjFunction(#function)); \
    return address;                                                                   \
  }())
