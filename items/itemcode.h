// Item codes and the item columns of _Data.
//
// An item code is "F" + three characters of 0-9 / A-Z. It names the item's
// column in the period's _Data table, so it is one of the few identifiers
// spliced into SQL text; every routine here refuses (std::invalid_argument)
// a code that is not of that form before it reaches a statement.
//
// Which items hold a column: every item except F001 and F002 (their values
// are the employee's number and name) and the account items FFFG..FFFL
// (their values are employee fields). An item whose value comes from formula
// lines has no column either: the column is dropped with the first line and
// added back when the last line goes (see formulas.h).
#pragma once

#include "core/session.h"

#include <string>
#include <string_view>

namespace gzgl::items {

// The code, or std::invalid_argument when it is not an item code
// (gzgl::isItemCode of core/schema.h).
const std::string& checkedCode(const std::string& code);

// FFFG..FFFL: values come from the employee record.
bool isAccountCode(std::string_view code);
// F001, F002, FFFG..FFFL never hold a _Data column.
bool neverHoldsColumn(std::string_view code);

// The period's _Data table of the open task.
std::string dataTable(const Session& s);
std::string itemTable(const Session& s);
std::string formulaTable(const Session& s);
std::string taxTable(const Session& s);

// Whether the open period's _Data has a column named code (case-insensitive).
bool hasDataColumn(Session& s, const std::string& code);
// Adds the column with the given type words (" float ", " VARCHAR(16) " ...,
// mapped for SQLite). The caller owns the transaction.
void addDataColumn(Session& s, const std::string& code, const std::string& typeWords);
// Drops the column when it exists.
void dropDataColumn(Session& s, const std::string& code);

} // namespace gzgl::items
