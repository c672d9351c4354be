// trace: how one employee's figures come about, line by line, as the
// recalculation computes them; printed as text or written to a PDF.
#include "app/cli/commands.h"

#include "monthly/trace.h"
#include "print/render/render.h"

#include <QGuiApplication>

#include <iostream>

namespace gzgl::cli {

int cmdTrace(Context& c) {
    c.args.allowOnly(withLogin({"emp", "pdf"}));
    const std::string emp = c.args.require("emp");
    if (!openAndLogin(c))
        return 1;
    const monthly::TraceResult r = monthly::traceEmployee(c.session, emp);
    if (!r.outcome.ok)
        return report(c, r.outcome);
    if (const auto pdf = c.args.get("pdf")) {
        const auto app = guiApplication();
        std::string error;
        if (!print::renderTextPdf("计算过程", r.text, *pdf, &error)) {
            c.prompt.message(error, "提示", Icon::Exclamation);
            return 1;
        }
        std::cout << *pdf << "\n";
        return 0;
    }
    std::cout << r.text;
    return 0;
}

} // namespace gzgl::cli
