#include "print/render/render.h"

#include <QFontDatabase>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <map>

namespace gzgl::print {

namespace {

// The CJK faces tried, in order, for 宋体 and for faces not installed.
QString findFamily(const QString& wanted) {
    const QStringList families = QFontDatabase::families();
    if (wanted != QStringLiteral("宋体") && families.contains(wanted))
        return wanted;
    for (const char* f : {"Noto Serif CJK SC", "Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei"})
        if (families.contains(QString::fromUtf8(f)))
            return QString::fromUtf8(f);
    return wanted;
}

// The font database is slow to ask; each face is looked up once.
QString cjkFamily(const QString& wanted) {
    static QHash<QString, QString> found;
    auto it = found.find(wanted);
    if (it == found.end())
        it = found.insert(wanted, findFamily(wanted));
    return *it;
}

} // namespace

QFont fontFromSpec(const std::string& spec) {
    const FontSpec f = FontSpec::parse(spec);
    QFont font(cjkFamily(QString::fromStdString(f.face)));
    font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strike);
    return font;
}

void renderPage(QPainter& painter, const PageModel& model, int index) {
    if (index < 0 || index >= model.pageCount())
        return;
    const Page& page = model.pages[static_cast<std::size_t>(index)];
    QPaintDevice* device = painter.device();
    const double dpmm = device->logicalDpiX() / 25.4;
    painter.save();
    for (const LineItem& l : page.lines) {
        QPen pen(Qt::black);
        pen.setWidthF(l.width * dpmm);
        painter.setPen(pen);
        painter.drawLine(QPointF(l.x1 * dpmm, l.y1 * dpmm), QPointF(l.x2 * dpmm, l.y2 * dpmm));
    }
    painter.setPen(Qt::black);
    // Font sizes are in points; the device decides their pixels.
    std::map<std::string, QFont> fonts;
    const std::string* lastFont = nullptr;
    for (const TextItem& t : page.texts) {
        if (t.text.empty())
            continue;
        if (!lastFont || t.font != *lastFont) {
            auto f = fonts.find(t.font);
            if (f == fonts.end())
                f = fonts.emplace(t.font, QFont(fontFromSpec(t.font), device)).first;
            painter.setFont(f->second);
            lastFont = &t.font;
        }
        const Qt::Alignment h = t.align == 1 ? Qt::AlignHCenter : t.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(QRectF(t.x * dpmm, t.y * dpmm, t.w * dpmm, t.h * dpmm), static_cast<int>(h | Qt::AlignVCenter),
                         QString::fromStdString(t.text));
    }
    painter.restore();
}

bool renderPages(QPagedPaintDevice& device, const PageModel& model, std::string* error) {
    const QPageSize size(QSizeF(model.landscape ? model.paperHeight : model.paperWidth,
                                model.landscape ? model.paperWidth : model.paperHeight),
                         QPageSize::Millimeter);
    device.setPageLayout(QPageLayout(size, model.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = "无法输出到打印设备。";
        return false;
    }
    for (int i = 0; i < model.pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        renderPage(painter, model, i);
    }
    painter.end();
    return true;
}

bool renderPdf(const PageModel& model, const std::string& path, std::string* error) {
    QPdfWriter pdf(QString::fromStdString(path));
    pdf.setResolution(300);
    pdf.setTitle(QString::fromStdString(model.title));
    if (!renderPages(pdf, model, error)) {
        if (error)
            *error = "无法写入文件 " + path;
        return false;
    }
    return true;
}

bool renderPdf(clsGridPrint& job, const std::string& path, std::string* error) {
    return renderPdf(job.paginate(), path, error);
}

} // namespace gzgl::print
