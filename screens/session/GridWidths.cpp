#include "screens/session/GridWidths.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QSettings>
#include <QStyle>
#include <QTableView>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Set while widths are set by the program, so that only a user's own
// resizing is remembered.
int programmaticResizes = 0;
struct ProgrammaticResize {
    ProgrammaticResize() { ++programmaticResizes; }
    ~ProgrammaticResize() { --programmaticResizes; }
    ProgrammaticResize(const ProgrammaticResize&) = delete;
    ProgrammaticResize& operator=(const ProgrammaticResize&) = delete;
};

// Texts are first estimated by summing cached advances of their characters;
// shaping a whole string costs far more and is kept for the few widest.
class AdvanceEstimator {
public:
    explicit AdvanceEstimator(const QFont& font) : fm_(font) {
        for (int i = 0; i < 128; ++i) {
            ascii_[static_cast<std::size_t>(i)] = i < 32 ? 0.0 : fm_.horizontalAdvance(QChar(i));
            widestAscii_ = std::max(widestAscii_, ascii_[static_cast<std::size_t>(i)]);
        }
    }

    double estimate(const std::string& s) {
        double w = 0;
        const auto* p = reinterpret_cast<const unsigned char*>(s.data());
        const auto* end = p + s.size();
        while (p < end) {
            if (*p < 0x80) {
                w += ascii_[*p++];
                continue;
            }
            int extra = *p >= 0xF0 ? 3 : *p >= 0xE0 ? 2 : *p >= 0xC0 ? 1 : 0;
            if (extra == 0 || end - p <= extra) { // not UTF-8: count it wide
                w += widestAscii_;
                ++p;
                continue;
            }
            char32_t cp = *p++ & (0x3F >> extra);
            for (; extra > 0; --extra)
                cp = (cp << 6) | (*p++ & 0x3F);
            w += advance(cp);
        }
        return w;
    }

    double exact(const std::string& s) const { return fm_.horizontalAdvance(QString::fromStdString(s)); }
    // Estimates this close to the widest may still shape wider than it.
    double slack() const { return widestAscii_; }

private:
    double advance(char32_t cp) {
        if (cp > 0xFFFF)
            return fm_.horizontalAdvance(QString::fromUcs4(&cp, 1));
        if (bmp_.empty())
            bmp_.assign(0x10000, -1.0f);
        float& a = bmp_[cp];
        if (a < 0)
            a = static_cast<float>(fm_.horizontalAdvance(QChar(static_cast<char16_t>(cp))));
        return a;
    }

    QFontMetricsF fm_;
    std::array<double, 128> ascii_{};
    double widestAscii_ = 0;
    std::vector<float> bmp_;
};

// The drawn width of the widest text of a column, in pixels.
int widestText(const Utf8CellSource& src, int rows, int column, AdvanceEstimator& est) {
    struct Candidate {
        double estimate;
        const std::string* text;
    };
    constexpr std::size_t kShaped = 16;
    std::vector<Candidate> cands;
    double best = 0;
    auto prune = [&] {
        const double floor = best - est.slack();
        std::erase_if(cands, [floor](const Candidate& c) { return c.estimate < floor; });
        if (cands.size() > kShaped) {
            std::nth_element(cands.begin(), cands.begin() + kShaped, cands.end(),
                             [](const Candidate& a, const Candidate& b) { return a.estimate > b.estimate; });
            cands.resize(kShaped);
        }
    };
    for (int r = 0; r < rows; ++r) {
        const std::string* t = src.utf8Cell(r, column);
        if (!t || t->empty())
            continue;
        const double e = est.estimate(*t);
        if (e < best - est.slack())
            continue;
        best = std::max(best, e);
        cands.push_back({e, t});
        if (cands.size() >= 16 * kShaped)
            prune();
    }
    prune();
    double widest = best;
    for (const Candidate& c : cands)
        widest = std::max(widest, est.exact(*c.text));
    return static_cast<int>(std::ceil(widest));
}

// What the style's item painting takes around the text: the focus-frame
// margin plus one on each side, and the grid line.
int cellChrome(const QTableView* view) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return 2 * margin + (view->showGrid() ? 1 : 0);
}

// One estimator serves all columns of a view: its caches fill once.
int fitted(const QTableView* view, int column, std::optional<AdvanceEstimator>& est) {
    const QAbstractItemModel* m = view->model();
    if (!m)
        return 0;
    const int captionWidth = view->horizontalHeader()->sectionSizeHint(column);
    const int rows = m->rowCount();
    const auto* src = dynamic_cast<const Utf8CellSource*>(m);
    if (rows == 0)
        return captionWidth;
    if (!src || !src->utf8Cell(0, column)) // the view measures it the slow way
        return std::max(captionWidth, static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(column));
    if (!est)
        est.emplace(view->font());
    return std::max(captionWidth, widestText(*src, rows, column, *est) + cellChrome(view));
}

} // namespace

namespace gridwidths {

int fittedWidth(const QTableView* view, int column) {
    std::optional<AdvanceEstimator> est;
    return fitted(view, column, est);
}

void fitColumns(QTableView* view) {
    if (!view->model() || view->model()->rowCount() == 0)
        return;
    if (auto* memory = view->findChild<ColumnWidthMemory*>(QString(), Qt::FindDirectChildrenOnly))
        memory->forgetAll();
    const ProgrammaticResize guard;
    std::optional<AdvanceEstimator> est;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        if (!view->isColumnHidden(c))
            view->setColumnWidth(c, fitted(view, c, est));
}

} // namespace gridwidths

ColumnWidthMemory::ColumnWidthMemory(QTableView* view, const QString& screen, KeyOf keyOf)
    : QObject(view), view_(view), screen_(screen), keyOf_(std::move(keyOf)) {
    setObjectName("columnWidths");
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, &ColumnWidthMemory::sectionResized);
}

QString ColumnWidthMemory::settingsKey(int column) const {
    const QString key = keyOf_(column);
    return key.isEmpty() ? QString() : "GridWidths/" + screen_ + "/" + key;
}

int ColumnWidthMemory::remembered(int column) const {
    const QString key = settingsKey(column);
    return key.isEmpty() ? 0 : QSettings().value(key, 0).toInt();
}

void ColumnWidthMemory::apply(const std::function<int(int)>& wanted) {
    const ProgrammaticResize guard;
    if (!view_->model())
        return;
    std::optional<AdvanceEstimator> est;
    for (int c = 0; c < view_->model()->columnCount(); ++c) {
        if (view_->isColumnHidden(c))
            continue;
        const int own = remembered(c);
        view_->setColumnWidth(c, own > 0 ? own : std::max(wanted(c), fitted(view_, c, est)));
    }
}

void ColumnWidthMemory::forgetAll() {
    QSettings().remove("GridWidths/" + screen_);
}

void ColumnWidthMemory::sectionResized(int column, int oldSize, int newSize) {
    // Hiding and showing a column passes through width 0; neither is a
    // width the user chose.
    if (programmaticResizes > 0 || oldSize == 0 || newSize == 0 || view_->isColumnHidden(column))
        return;
    const QString key = settingsKey(column);
    if (!key.isEmpty())
        QSettings().setValue(key, newSize);
}
