#include "screens/items/ItemScreens.h"

#include "screens/session/ScreenSupport.h"

#include <QHeaderView>
#include <QListWidget>
#include <QTableWidget>

QTableWidget* makeGrid(QWidget* parent, const char* name, const std::vector<std::string>& captions) {
    auto* g = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    g->setObjectName(name);
    QStringList header;
    for (const std::string& c : captions)
        header << qs(c);
    g->setHorizontalHeaderLabels(header);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->setVisible(false);
    g->horizontalHeader()->setStretchLastSection(true);
    return g;
}

void fillGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows) {
    grid->clearContents();
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < grid->columnCount() && c < static_cast<int>(row.size()); ++c) {
            auto* cell = new QTableWidgetItem(qs(row[static_cast<std::size_t>(c)]));
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            grid->setItem(r, c, cell);
        }
    }
    grid->resizeColumnsToContents();
}

void fillWaitingList(QListWidget* list, const std::vector<gzgl::items::ItemChoice>& items) {
    const QString keep = list->currentItem() ? list->currentItem()->data(Qt::UserRole).toString() : QString();
    list->clear();
    for (const auto& i : items) {
        auto* entry = new QListWidgetItem(qs(i.code + " " + i.name), list);
        entry->setData(Qt::UserRole, qs(i.code));
        if (entry->data(Qt::UserRole).toString() == keep)
            list->setCurrentItem(entry);
    }
}
