// The value readers the recalculation and the entry screens share: the
// display precision of an item, whether it has formula lines, and the
// per-employee exceptions (a stored value that takes the place of a formula,
// and the list of items not calculated for an employee).
//
// Each routine reads the open task's current period on its own; the
// recalculation of a whole grid uses CachedExceptions, which reads each list
// once and answers the same.
#pragma once

#include "core/session.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

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

// The per-employee exceptions as the recalculation asks for them.
class Exceptions {
public:
    virtual ~Exceptions() = default;
    virtual bool hasStoredValue(const std::string& empNo, const std::string& code) = 0;
    virtual std::string storedValue(const std::string& empNo, const std::string& code) = 0;
    virtual bool isListed(const std::string& empNo, const std::string& code) = 0;
};

// Asks the database each time (the one-row recalculation after an edit).
class DirectExceptions : public Exceptions {
public:
    explicit DirectExceptions(Session& s) : s_(s) {}
    bool hasStoredValue(const std::string& empNo, const std::string& code) override;
    std::string storedValue(const std::string& empNo, const std::string& code) override;
    bool isListed(const std::string& empNo, const std::string& code) override;

private:
    Session& s_;
};

// Reads each item's stored values and the employees' lists once, on first
// use, for the duration of one recalculation.
class CachedExceptions : public Exceptions {
public:
    explicit CachedExceptions(Session& s) : s_(s) {}
    bool hasStoredValue(const std::string& empNo, const std::string& code) override;
    std::string storedValue(const std::string& empNo, const std::string& code) override;
    bool isListed(const std::string& empNo, const std::string& code) override;

private:
    std::optional<std::string> stored(const std::string& empNo, const std::string& code);
    Session& s_;
    bool columnsRead_ = false;
    std::set<std::string> dataColumns_; // upper-case
    std::map<std::string, std::map<std::string, std::optional<std::string>>> stored_; // code -> employee key -> value
    bool listsRead_ = false;
    std::map<std::string, std::set<std::string>> lists_; // employee key -> codes
};

} // namespace gzgl::calc
