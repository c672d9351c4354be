// Writing a print job to a PDF file from the terminal.
#pragma once

#include "app/cli/commands.h"
#include "print/gridprint.h"

#include <string>

namespace gzgl::cli {

// Renders job into pdf (a GUI application is made for the fonts, on the
// offscreen platform unless the caller chose one) and prints the path.
// Answers the exit code: 0, or 1 after the renderer's message.
int writePdf(Context& c, print::clsGridPrint& job, const std::string& pdf);

} // namespace gzgl::cli
