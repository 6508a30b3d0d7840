#include "geo/proj_handle.h"

#include <cstdlib>
#include <cstring>

namespace quorvane {

TProjContext NewProjContext() {
  TProjContext context(QUORVANE_PROJ(proj_context_create)());
  if (context) {
    QUORVANE_PROJ(proj_log_level)(context.get(), PJ_LOG_NONE);
    QUORVANE_PROJ(proj_context_set_enable_network)(context.get(), 0);
  }
  return context;
}

TProjObject ProjFromDatabase(PJ_CONTEXT* context, int code, PJ_CATEGORY category) {
  if (code <= 0) return {};
  const std::string text = std::to_string(code);
  return TProjObject(QUORVANE_PROJ(proj_create_from_database)(context, "EPSG", text.c_str(),
                                                              category, 0, nullptr));
}

int ProjEpsgCode(const PJ* object) {
  if (!object) return 0;
  const char* authority = QUORVANE_PROJ(proj_get_id_auth_name)(object, 0);
  const char* code = QUORVANE_PROJ(proj_get_id_code)(object, 0);
  if (!authority || !code || std::strcmp(authority, "EPSG") != 0) return 0;
  return std::atoi(code);
}

}  // namespace quorvane
