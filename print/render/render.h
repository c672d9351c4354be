// Drawing the print engine's page model with QPainter on any paged device
// (a printer, a PDF writer) or a picture. Qt Gui only.
#pragma once

#include "print/gridprint.h"

#include <QFont>

#include <string>

class QPainter;
class QPagedPaintDevice;

namespace gzgl::print {

// The QFont of a font spec; the face 宋体 (and any face not installed)
// maps to a CJK face that exists here, so that Chinese shows.
QFont fontFromSpec(const std::string& spec);

// The job's texts measured with the fonts the pages are drawn in, in
// millimetres, for the column widths of the pagination.
TextMeasure fontMeasure();

// The job laid out with those measurements: what every print and preview
// draws.
PageModel paginateWithFonts(clsGridPrint& job);

// Draws page index (0-based) of the model; the painter's device is taken
// to be the paper, and millimetres are scaled to its resolution.
void renderPage(QPainter& painter, const PageModel& model, int index);

// Sets the device's page size to the model's paper and draws every page.
// False (with error) when the device cannot be painted on.
bool renderPages(QPagedPaintDevice& device, const PageModel& model, std::string* error);

// Writes the model (or the job, paginated) to a PDF file.
bool renderPdf(const PageModel& model, const std::string& path, std::string* error);
bool renderPdf(clsGridPrint& job, const std::string& path, std::string* error);

// Writes plain text on A4 pages in the Chinese text face, long lines
// wrapped, to a PDF file (under a temporary name, renamed when complete).
bool renderTextPdf(const std::string& title, const std::string& text, const std::string& path,
                   std::string* error);

} // namespace gzgl::print
