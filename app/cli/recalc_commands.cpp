#include "app/cli/commands.h"

namespace gzgl::cli {

int cmdRecalc(Context&) { throw UsageError("recalc: 尚未实现"); }

} // namespace gzgl::cli
