// Widgets the base-record screens share: trees filled from the engine's
// nodes, and a read-only table model over rows of text that stays fast for
// ten thousand employees.
#pragma once

#include "base/tree.h"
#include "screens/session/GridWidths.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// Replaces the tree's nodes: each node under its parent's key (the root
// when the parent is unknown), the key in Qt::UserRole, red nodes in red.
// The root is expanded. Answers the root item.
QTreeWidgetItem* fillTree(QTreeWidget* tree, const std::vector<gzgl::base::TreeNode>& nodes);
// The key a tree item carries.
std::string nodeKeyOf(const QTreeWidgetItem* item);
// The item with that key, or nullptr.
QTreeWidgetItem* findNode(QTreeWidget* tree, const std::string& key);

// Rows of text under fixed captions; optionally the first column is a tick
// box (the captions then start with the tick column's caption).
class RowsModel : public QAbstractTableModel, public Utf8CellSource {
    Q_OBJECT
public:
    explicit RowsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void reset(const std::vector<std::string>& captions, std::vector<std::vector<std::string>> rows,
               bool tickColumn = false);
    const std::vector<std::string>& row(int r) const { return rows_.at(static_cast<std::size_t>(r)); }
    void setRow(int r, std::vector<std::string> values);
    std::string text(int r, int c) const;
    bool ticked(int r) const { return ticks_.at(static_cast<std::size_t>(r)); }
    void setAllTicked(bool on);
    void setTicked(int r, bool on);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    const std::string* utf8Cell(int row, int column) const override;

private:
    int offset() const { return tick_ ? 1 : 0; }
    QStringList captions_;
    std::vector<std::vector<std::string>> rows_;
    std::vector<bool> ticks_;
    bool tick_ = false;
};
