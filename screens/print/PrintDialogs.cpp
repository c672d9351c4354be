#include "screens/print/PrintDialogs.h"

#include "print/render/render.h"
#include "screens/print/frmPrintSetup.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

namespace {

void paintAll(QPrinter* printer, const gzgl::print::PageModel& model) {
    std::string error;
    gzgl::print::renderPages(*printer, model, &error);
}

} // namespace

PreviewWindow::PreviewWindow(gzgl::print::clsGridPrint& job, QWidget* parent)
    : QPrintPreviewDialog(&printer_, parent), job_(job), model_(gzgl::print::paginateWithFonts(job)) {
    setObjectName("frmPreview");
    setWindowTitle(QStringLiteral("打印预览"));
    printer_.setDocName(QString::fromStdString(model_.title));
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { paintAll(p, model_); });

    // 页面设置: the form's print project, then the pages laid out again.
    auto* setup = new QAction(QStringLiteral("页面设置"), this);
    setup->setObjectName("actPageSetup");
    if (QToolBar* bar = findChild<QToolBar*>()) {
        bar->addSeparator();
        bar->addAction(setup);
    }
    connect(setup, &QAction::triggered, this, [this] {
        frmPrintSetup form(job_, this);
        if (form.exec() != QDialog::Accepted)
            return;
        model_ = gzgl::print::paginateWithFonts(job_);
        printer_.setDocName(QString::fromStdString(model_.title));
        if (auto* view = findChild<QPrintPreviewWidget*>())
            view->updatePreview();
    });
    resize(1000, 760);
}

void Preview(gzgl::print::clsGridPrint& job, QWidget* parent) {
    PreviewWindow dialog(job, parent);
    dialog.exec();
}

void PrintOut(gzgl::print::clsGridPrint& job, QWidget* parent, gzgl::Prompt& prompt,
              const std::function<QString()>& choosePdf) {
    const gzgl::print::PageModel model = gzgl::print::paginateWithFonts(job);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(model.title));
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // Without a printer the pages go to a PDF file.
        prompt.message("没有安装打印机，将打印到PDF文件。", "打印", gzgl::Icon::Information);
        QString chosen;
        if (choosePdf) {
            chosen = choosePdf();
        } else {
            QFileDialog files(parent, QStringLiteral("保存文件"), QString(), QStringLiteral("PDF(*.pdf)"));
            files.setAcceptMode(QFileDialog::AcceptSave);
            files.setDefaultSuffix("pdf");
            if (files.exec() == QDialog::Accepted && !files.selectedFiles().isEmpty())
                chosen = files.selectedFiles().front();
        }
        if (chosen.isEmpty())
            return;
        const std::string file = chosen.toStdString();
        std::string error;
        if (gzgl::print::renderPdf(model, file, &error))
            prompt.message("已打印到文件 " + file + "。", "打印", gzgl::Icon::Information);
        else
            prompt.message(error, "打印", gzgl::Icon::Exclamation);
        return;
    }
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::string error;
    if (!gzgl::print::renderPages(printer, model, &error))
        prompt.message(error, "打印", gzgl::Icon::Exclamation);
}
