#include "screens/print/PrintDialogs.h"

#include "print/render/render.h"

#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

void paintAll(QPrinter* printer, const gzgl::print::PageModel& model) {
    std::string error;
    gzgl::print::renderPages(*printer, model, &error);
}

} // namespace

void Preview(gzgl::print::clsGridPrint& job, QWidget* parent) {
    const gzgl::print::PageModel model = job.paginate();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(model.title));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&model](QPrinter* p) { paintAll(p, model); });
    dialog.resize(1000, 760);
    dialog.exec();
}

void PrintOut(gzgl::print::clsGridPrint& job, QWidget* parent, gzgl::Prompt& prompt) {
    const gzgl::print::PageModel model = job.paginate();
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(model.title));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // Without a printer the pages go to a PDF file.
        prompt.message("没有安装打印机，将打印到PDF文件。", "提示", gzgl::Icon::Information);
        const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("保存文件"), QString(),
                                                          QStringLiteral("PDF(*.pdf)"));
        if (file.isEmpty())
            return;
        std::string error;
        if (!gzgl::print::renderPdf(model, file.toStdString(), &error))
            prompt.message(error, "提示", gzgl::Icon::Exclamation);
        return;
    }
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintAll(&printer, model);
}
