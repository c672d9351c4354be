// Widgets the item screens share: read-only grids filled from rows of text
// and the list of items that can get formulas.
#pragma once

#include "items/items.h"

#include <string>
#include <vector>

class QListWidget;
class QTableWidget;
class QWidget;

// A grid with one row selected at a time and the given captions.
QTableWidget* makeGrid(QWidget* parent, const char* name, const std::vector<std::string>& captions);
// Replaces the rows; cells are read-only.
void fillGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows);

// lstWait: one entry per item, "code name", the code in Qt::UserRole.
void fillWaitingList(QListWidget* list, const std::vector<gzgl::items::ItemChoice>& items);
