#include "screens/base/BaseWidgets.h"

#include "screens/session/ScreenSupport.h"

#include <QBrush>
#include <QTreeWidget>

#include <unordered_map>

QTreeWidgetItem* fillTree(QTreeWidget* tree, const std::vector<gzgl::base::TreeNode>& nodes) {
    tree->clear();
    QTreeWidgetItem* root = nullptr;
    std::unordered_map<std::string, QTreeWidgetItem*> byKey;
    for (const auto& n : nodes) {
        QTreeWidgetItem* item = nullptr;
        if (n.parentKey.empty() || !root) {
            item = new QTreeWidgetItem(tree);
            if (!root)
                root = item;
        } else {
            auto parent = byKey.find(n.parentKey);
            item = new QTreeWidgetItem(parent == byKey.end() ? root : parent->second);
        }
        item->setText(0, qs(n.text));
        item->setData(0, Qt::UserRole, qs(n.key));
        if (n.red)
            item->setForeground(0, QBrush(Qt::red));
        byKey[n.key] = item;
    }
    if (root)
        root->setExpanded(true);
    return root;
}

std::string nodeKeyOf(const QTreeWidgetItem* item) {
    return item ? ss(item->data(0, Qt::UserRole).toString()) : std::string();
}

QTreeWidgetItem* findNode(QTreeWidget* tree, const std::string& key) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (nodeKeyOf(*it) == key)
            return *it;
    return nullptr;
}

void RowsModel::reset(const std::vector<std::string>& captions, std::vector<std::vector<std::string>> rows,
                      bool tickColumn) {
    beginResetModel();
    captions_.clear();
    for (const auto& c : captions)
        captions_ << qs(c);
    rows_ = std::move(rows);
    tick_ = tickColumn;
    ticks_.assign(rows_.size(), false);
    endResetModel();
}

void RowsModel::setRow(int r, std::vector<std::string> values) {
    rows_.at(static_cast<std::size_t>(r)) = std::move(values);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

std::string RowsModel::text(int r, int c) const {
    const auto& row = rows_.at(static_cast<std::size_t>(r));
    return static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : std::string();
}

void RowsModel::setAllTicked(bool on) {
    if (rows_.empty())
        return;
    ticks_.assign(rows_.size(), on);
    emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

void RowsModel::setTicked(int r, bool on) {
    ticks_.at(static_cast<std::size_t>(r)) = on;
    emit dataChanged(index(r, 0), index(r, 0));
}

int RowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant RowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (tick_ && index.column() == 0)
        return role == Qt::CheckStateRole ? QVariant(ticked(index.row()) ? Qt::Checked : Qt::Unchecked)
                                          : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    return qs(text(index.row(), index.column() - offset()));
}

const std::string* RowsModel::utf8Cell(int row, int column) const {
    static const std::string empty;
    if (tick_ && column == 0)
        return nullptr; // a tick box, not text
    const auto& r = rows_.at(static_cast<std::size_t>(row));
    const auto c = static_cast<std::size_t>(column - offset());
    return c < r.size() ? &r[c] : &empty;
}

bool RowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!tick_ || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags RowsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (tick_ && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant RowsModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Vertical)
        return section + 1;
    return section < captions_.size() ? captions_[section] : QVariant();
}
