// The print engine's windows: the paged preview with its own print command
// and page setup, and printing at once through the system's print dialog.
#pragma once

#include "core/prompt.h"
#include "print/gridprint.h"

#include <QString>

#include <functional>

#include <QPrintPreviewDialog>
#include <QPrinter>

class QWidget;

// Holds the preview's printer so that it exists before the dialog that
// draws on it.
struct PreviewPrinter {
    PreviewPrinter() : printer_(QPrinter::HighResolution) {}
    QPrinter printer_;
};

// The paged preview of one job: every page drawn from the job's page model
// when the window is shown, the print command of the dialog's toolbar, and
// 页面设置 opening frmPrintSetup on the job's form.
class PreviewWindow : private PreviewPrinter, public QPrintPreviewDialog {
public:
    PreviewWindow(gzgl::print::clsGridPrint& job, QWidget* parent);

private:
    gzgl::print::clsGridPrint& job_;
    gzgl::print::PageModel model_;
};

// Shows the job's pages in a preview window (modal); its toolbar prints
// them and opens the page setup, after which the job is laid out again.
void Preview(gzgl::print::clsGridPrint& job, QWidget* parent);
// Prints the job through the system print dialog; without an installed
// printer the pages go to a PDF file chosen in a save dialog, after a
// message that says so. choosePdf, when given, names that file instead of
// the save dialog (an empty name cancels), for scripted use.
void PrintOut(gzgl::print::clsGridPrint& job, QWidget* parent, gzgl::Prompt& prompt,
              const std::function<QString()>& choosePdf = {});
