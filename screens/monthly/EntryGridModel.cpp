#include "screens/monthly/EntryGridModel.h"

#include "screens/session/ScreenSupport.h"

#include <QBrush>
#include <QColor>
#include <QFocusEvent>

void EntryGridModel::reload() {
    beginResetModel();
    endResetModel();
}

void EntryGridModel::gridRowChanged(int r) {
    const int m = modelRow(r);
    if (m >= 0 && m < rowCount() && columnCount() > 0)
        emit dataChanged(index(m, 0), index(m, columnCount() - 1));
}

int EntryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : e_.grid().employeeCount();
}

int EntryGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : e_.grid().cols(); }

QVariant EntryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int r = gridRow(index.row()), c = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return qs(e_.grid().cell(r, c));
    case Qt::TextAlignmentRole:
        return e_.column(c).type == "数字" ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                           : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // Calculated and fixed columns are shaded: they cannot be typed in.
        if (!e_.editable(r, c))
            return QBrush(QColor(0xf2, 0xf2, 0xea));
        return {};
    default:
        return {};
    }
}

QVariant EntryGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= e_.grid().cols())
        return {};
    const QString code = qs(e_.grid().cell(0, section));
    const QString caption = qs(e_.grid().cell(1, section));
    if (role == Qt::DisplayRole)
        return e_.showCodes() ? code + "\n" + caption : caption;
    if (role == Qt::ToolTipRole)
        return code;
    return {};
}

void EntryGridView::focusInEvent(QFocusEvent* e) {
    // QAbstractItemView's own handling, without its whole-viewport update.
    QAbstractScrollArea::focusInEvent(e);
    if (!currentIndex().isValid() && model() && model()->rowCount() > 0)
        setCurrentIndex(model()->index(0, 0));
    viewport()->update(visualRect(currentIndex()));
}

void EntryGridView::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    viewport()->update(visualRect(currentIndex()));
}
