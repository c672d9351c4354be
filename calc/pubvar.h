// The value readers the recalculation and the entry screens share: the
// display precision of an item, whether it has formula lines, and the
// per-employee exceptions (a stored value that takes the place of a formula,
// and the list of items not calculated for an employee).
//
// Each routine reads the open task's current period on its own; the
// recalculation uses Exceptions, which reads each list once and answers the
// same.
#pragma once

#include "calc/workgrid.h"
#include "core/session.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace gzgl::calc {

// "#0" or "#0." + F_Prec zeros for an item, found by code when the trimmed
// argument is four characters beginning with "F", else by name; "#0" when
// no item matches or its precision is 0.
std::string SetPrecisionFormat(Session& s, std::string_view codeOrName);

// False for FFFF, FFFE and FFFD; otherwise whether a formula line targets code.
bool ItemHasFormula(Session& s, std::string_view code);

// The employee's stored value of an item, trimmed; "" when there is no row,
// no such column, no value or the marker -9999.
std::string GetStoredValue(Session& s, std::string_view empNo, std::string_view code);

// True when _Data has a column for code and the employee's value there is
// neither Null nor -9999.
bool HasStoredValue(Session& s, std::string_view empNo, std::string_view code);

// True when the employee's F_NotCalc list names code. False when the
// employee table has no such column or the list is empty.
bool IsItemListed(Session& s, std::string_view empNo, std::string_view code);

// The per-employee exceptions as the recalculation asks for them: for one
// formula line's target code, over a range of grid rows, the same answers
// HasStoredValue / GetStoredValue and IsItemListed give, read with a few
// queries instead of several per employee and line. An object reads the
// database once per code and serves one recalculation pass.
class Exceptions {
public:
    // Reads for every employee of the task, or only for onlyEmpNo (the
    // one-row pass after an edit).
    explicit Exceptions(Session& s, std::optional<std::string> onlyEmpNo = std::nullopt);

    // For rows first..last of grid (employee number in column 0):
    // stored[i] the stored value of code for row first+i (nullopt for
    // none), listed[i] whether his F_NotCalc list names code.
    void lookUp(const WorkGrid& grid, int first, int last, const std::string& code,
                std::vector<std::optional<std::string>>& stored, std::vector<char>& listed);
    // Reads the stored values of all these codes in one pass over _Data,
    // before a recalculation asks for them line by line.
    void prefetch(const std::vector<std::string>& codes);

private:
    using Values = std::vector<std::optional<std::string>>; // by employee index
    void readEmployees();
    const Values* valuesOf(const std::string& code);
    const std::vector<int>& rowEmployees(const WorkGrid& grid, int first, int last);

    Session& s_;
    std::optional<std::string> only_;
    bool read_ = false;
    std::unordered_map<std::string, int> dataIndex_; // employee key -> first _Data row
    std::set<std::string> dataColumns_; // upper-case
    std::map<std::string, Values> values_; // code -> value per _Data row
    std::unordered_map<std::string, std::set<std::string>> lists_; // employee key -> F_NotCalc codes
    // Grid rows mapped to _Data rows (-1: none), for the rows last asked.
    const WorkGrid* mappedGrid_ = nullptr;
    int mappedFirst_ = 0, mappedLast_ = -1;
    std::vector<int> rowData_;
    std::vector<const std::set<std::string>*> rowLists_;
};

} // namespace gzgl::calc
