#include "print/render/render.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <filesystem>
#include <map>
#include <unordered_map>
#include <memory>

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

// A font on one device with what drawing a cell needs of it: the baseline
// offset and the advances of the ASCII characters, so that numbers (most
// cells) are placed without laying the text out twice.
struct DeviceFont {
    QFont font;
    QFontMetricsF metrics;
    double ascent = 0, height = 0;
    double ascii[128] = {};
    DeviceFont(const std::string& spec, QPaintDevice* device)
        : font(fontFromSpec(spec), device), metrics(prepared(font), device) {
        const QFontMetricsF& fm = metrics;
        ascent = fm.ascent();
        height = fm.height();
        for (int c = 32; c < 127; ++c)
            ascii[c] = fm.horizontalAdvance(QChar(c));
    }
    // Table cells hold numbers and plain Chinese, which need no OpenType
    // shaping; skipping it halves the cost of a text.
    static const QFont& prepared(QFont& f) {
        f.setStyleStrategy(QFont::PreferNoShaping);
        f.setKerning(false);
        return f;
    }
    // Any text's width in device pixels. Other texts than ASCII (names,
    // captions) repeat on every horizontal page: each is measured once.
    double width(const std::string& text) const {
        const double w = asciiWidth(text);
        if (w >= 0)
            return w;
        const auto hit = measured.find(text);
        if (hit != measured.end())
            return hit->second;
        const double m = metrics.horizontalAdvance(QString::fromStdString(text));
        measured.emplace(text, m);
        return m;
    }
    mutable std::unordered_map<std::string, double> measured;
    // The width of an all-ASCII text; negative for any other text.
    double asciiWidth(const std::string& text) const {
        double w = 0;
        for (unsigned char c : text) {
            if (c < 32 || c >= 127)
                return -1;
            w += ascii[c];
        }
        return w;
    }
};

// Fonts are measured once per face and resolution, not on every page.
const DeviceFont& deviceFont(const std::string& spec, QPaintDevice* device) {
    static std::map<std::pair<std::string, int>, DeviceFont> fonts;
    const std::pair<std::string, int> key(spec, device->logicalDpiY());
    auto f = fonts.find(key);
    if (f == fonts.end())
        f = fonts.try_emplace(key, spec, device).first;
    return f->second;
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

TextMeasure fontMeasure() {
    // Measured on a fine raster so that hinting does not round the advances.
    auto raster = std::make_shared<QImage>(1, 1, QImage::Format_ARGB32);
    constexpr double dpi = 1200;
    raster->setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    raster->setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    auto last = std::make_shared<std::pair<FontSpec, const DeviceFont*>>();
    return [raster, last](std::string_view text, const FontSpec& f) {
        // A job measures one font many times over: it is looked up once.
        if (!last->second || !(last->first == f)) {
            last->first = f;
            last->second = &deviceFont(f.text(), raster.get());
        }
        return last->second->width(std::string(text)) * 25.4 / dpi;
    };
}

PageModel paginateWithFonts(clsGridPrint& job) {
    job.SetTextMeasure(fontMeasure());
    return job.paginate();
}

void renderPage(QPainter& painter, const PageModel& model, int index) {
    if (index < 0 || index >= model.pageCount())
        return;
    const Page& page = model.pages[static_cast<std::size_t>(index)];
    QPaintDevice* device = painter.device();
    const double dpmm = device->logicalDpiX() / 25.4;
    painter.save();
    // The rules, one call per pen width.
    std::map<double, QList<QLineF>> rules;
    for (const LineItem& l : page.lines)
        rules[l.width].append(QLineF(l.x1 * dpmm, l.y1 * dpmm, l.x2 * dpmm, l.y2 * dpmm));
    for (const auto& [width, lines] : rules) {
        QPen pen(Qt::black);
        pen.setWidthF(width * dpmm);
        painter.setPen(pen);
        painter.drawLines(lines);
    }
    painter.setPen(Qt::black);
    // Font sizes are in points; the device decides their pixels.
    const std::string* lastFont = nullptr;
    const DeviceFont* font = nullptr;
    for (const TextItem& t : page.texts) {
        if (t.text.empty())
            continue;
        if (!lastFont || t.font != *lastFont) {
            font = &deviceFont(t.font, device);
            painter.setFont(font->font);
            lastFont = &t.font;
        }
        const QRectF box(t.x * dpmm, t.y * dpmm, t.w * dpmm, t.h * dpmm);
        const QString text = QString::fromStdString(t.text);
        // A text that fits its cell is drawn at its baseline; any other
        // is laid out in the cell and clipped to it.
        const double width = font->width(t.text);
        if (width <= box.width() && font->height <= box.height()) {
            const double x = t.align == 1   ? box.left() + (box.width() - width) / 2
                             : t.align == 2 ? box.right() - width
                                            : box.left();
            painter.drawText(QPointF(x, box.top() + (box.height() - font->height) / 2 + font->ascent), text);
            continue;
        }
        // A figure is never cut: it may overhang its box by the rounding
        // of the measurements the layout widened its column with.
        const Qt::Alignment h = t.align == 1 ? Qt::AlignHCenter : t.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(box, static_cast<int>(h | Qt::AlignVCenter | (t.whole ? Qt::TextDontClip : 0)),
                         text);
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
    return renderPdf(paginateWithFonts(job), path, error);
}

bool renderTextPdf(const std::string& title, const std::string& text, const std::string& path,
                   std::string* error) {
    const std::string temporary = path + ".part";
    {
        QPdfWriter pdf(QString::fromStdString(temporary));
        pdf.setResolution(300);
        pdf.setTitle(QString::fromStdString(title));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        QTextDocument doc;
        QFont font = fontFromSpec(kTextFont);
        font.setPointSizeF(10);
        doc.setDefaultFont(font);
        doc.setPlainText(QString::fromStdString(text));
        doc.print(&pdf);
    }
    std::error_code ec;
    if (!std::filesystem::exists(temporary, ec) || std::filesystem::file_size(temporary, ec) == 0) {
        std::filesystem::remove(temporary, ec);
        if (error)
            *error = "无法写入文件 " + path;
        return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        if (error)
            *error = "无法写入文件 " + path;
        return false;
    }
    return true;
}

} // namespace gzgl::print
