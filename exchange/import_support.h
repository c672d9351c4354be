// What the two salary-file readers share: splitting lines into fields,
// reading amounts strictly, reading the file with a size limit, and
// writing employees and their values into a month's tables with prepared
// statements inside the caller's transaction.
#pragma once

#include "core/connection.h"
#include "core/prompt.h"
#include "core/session.h"
#include "exchange/dataload.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace gzgl::exchange {

// A line longer than this is no salary data; it is refused unread.
inline constexpr std::size_t kMaxLineBytes = 1u << 20;

// The fields of text between separators (one field for text without one).
std::vector<std::string> splitFields(std::string_view text, std::string_view separator);
// How many fields splitFields would give, without making them.
std::size_t fieldCount(std::string_view text, std::string_view separator);
// A line as a message shows it: at most 120 characters.
std::string shownLine(std::string_view text);
// A whole text that is a plain decimal number with a finite value ("1e9",
// "nan", "inf" and a 400-digit number are not).
std::optional<double> readAmount(std::string_view text);
// yyyymm with a month from 01 to 12.
bool isPeriodText(std::string_view text);

// The bytes of a file from outside, or a refusal titled title: a missing
// or unreadable file, one that is too large.
struct ReadFile {
    std::optional<std::string> bytes;
    Outcome refusal;
};
ReadFile readImportFile(const std::string& path, const std::string& title);

// Reads the file and parses it with parse (parseDataLoad, parseInterfaceFile):
// the parsed file, or nullopt with *refusal set to why not.
template <class Parse>
auto readParsedFile(const std::string& path, const std::string& title, Parse parse, Outcome& refusal) {
    using File = typename decltype(parse(std::string_view{}).file)::value_type;
    const ReadFile file = readImportFile(path, title);
    if (!file.bytes) {
        refusal = file.refusal;
        return std::optional<File>();
    }
    auto parsed = parse(*file.bytes);
    if (!parsed.file)
        refusal = Outcome::refuse(parsed.error, title, Icon::Exclamation);
    return std::move(parsed.file);
}

// Adds the lines the reader set aside to those the import skipped, all in
// line order.
void mergeSkipped(std::vector<SkippedLine>& skipped, const std::vector<SkippedLine>& unreadable);

// The employees of a month and the writes of an import, in the caller's
// transaction on s.taskConn for the period of s.taskPrefix().
class MonthWriter {
public:
    explicit MonthWriter(Session& s);
    ~MonthWriter();

    struct Employee {
        std::string code, name, dep;
    };
    // The employee of a code, compared as the code column does (ASCII
    // letters without regard to case); nullptr when none.
    const Employee* find(const std::string& code) const;
    // A new employee with empty details and a data row of no values.
    void addEmployee(const std::string& code, const std::string& dep, const std::string& name,
                     const std::string& sex);
    void updateEmployee(const std::string& code, const std::string& dep, const std::string& name,
                        const std::string& sex);
    // Gives an employee entered without a data row one, so that its values
    // have a place.
    void ensureDataRow(const std::string& code);
    // The item columns that writeValues fills, in order.
    void setColumns(const std::vector<std::string>& codes);
    void writeValues(const std::string& code, const std::vector<Value>& values);
    // The employee columns (F_AccNo, ...) that writeEmployeeFields fills, in
    // order; a Null value keeps what is stored.
    void setEmployeeFields(const std::vector<std::string>& columns);
    void writeEmployeeFields(const std::string& code, const std::vector<Value>& values);
    // Gives every data row without a value in the first date item the
    // period's label, as a new employee's row gets it on the staff screen.
    void labelDateItem();
    int added() const { return added_; }

private:
    Session& s_;
    std::unordered_map<std::string, Employee> employees_;
    std::unique_ptr<Statement> insertEmployee_, insertData_, updateEmployee_, updateValues_, updateFields_;
    int added_ = 0;
};

} // namespace gzgl::exchange
