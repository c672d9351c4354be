#include "app/cli/commands.h"

namespace gzgl::cli {

int cmdItem(Context&) { throw UsageError("item: 尚未实现"); }
int cmdFormula(Context&) { throw UsageError("formula: 尚未实现"); }
int cmdTax(Context&) { throw UsageError("tax: 尚未实现"); }

} // namespace gzgl::cli
