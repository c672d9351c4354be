#include "app/cli/commands.h"

namespace gzgl::cli {

int cmdEval(Context&) { throw UsageError("eval: 尚未实现"); }

} // namespace gzgl::cli
