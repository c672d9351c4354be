// Placeholder until the command is built.
#include "app/cli/commands.h"

#include <iostream>

namespace gzgl::cli {

int cmdPrint(Context&) {
    std::cerr << "尚未实现\n";
    return 2;
}

} // namespace gzgl::cli
