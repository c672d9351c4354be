#include "app/cli/pdf_output.h"

#include "print/render/render.h"

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace gzgl::cli {

namespace {

// QPdfWriter needs a GUI application; a terminal has no display, so the
// offscreen platform stands in unless the caller chose one.
std::unique_ptr<QGuiApplication> guiApplication() {
    if (QGuiApplication::instance())
        return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "gzgl-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int writePdf(Context& c, print::clsGridPrint& job, const std::string& pdf) {
    const auto app = guiApplication();
    std::string error;
    if (!print::renderPdf(job, pdf, &error)) {
        c.prompt.message(error, "提示", Icon::Exclamation);
        return 1;
    }
    std::cout << pdf << "\n";
    return 0;
}

} // namespace gzgl::cli
