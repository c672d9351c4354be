#include "exchange/import_support.h"

#include "core/schema.h"
#include "core/text.h"
#include "exchange/textfile.h"
#include "items/items.h"

#include <algorithm>
#include <filesystem>

namespace gzgl::exchange {

ReadFile readImportFile(const std::string& path, const std::string& title) {
    namespace fs = std::filesystem;
    ReadFile r;
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) {
        r.refusal = Outcome::refuse("文件“" + path + "”不存在！", title, Icon::Exclamation, "txtFile");
        return r;
    }
    if (fs::file_size(path, ec) > kMaxImportFileBytes) {
        r.refusal = Outcome::refuse("文件“" + path + "”太大，不是工资数据文件。", title, Icon::Exclamation,
                                    "txtFile");
        return r;
    }
    r.bytes = readWholeFile(path);
    if (!r.bytes)
        r.refusal = Outcome::refuse("不能读取文件“" + path + "”！", title, Icon::Exclamation, "txtFile");
    return r;
}

MonthWriter::MonthWriter(Session& s) : s_(s) {
    const std::string employees = periodTable(s.taskPrefix(), "Employee");
    const std::string data = periodTable(s.taskPrefix(), "Data");
    const Recordset rs = s.taskConn.query("Select F_EmpNo,F_EmpName,F_DepNo From " + employees);
    for (std::size_t i = 0; i < rs.size(); ++i) {
        Employee e{rs.row(i)[0].toString(), rs.row(i)[1].toString(), rs.row(i)[2].toString()};
        employees_.emplace(upperAscii(e.code), std::move(e));
    }
    insertEmployee_ = std::make_unique<Statement>(s.taskConn.prepareStatement(
        "Insert into " + employees +
        "(F_EmpNo,F_DepNo,F_EmpName,F_Sex,F_Nation,F_CID,F_EmpType,F_AccNo,F_OldNo,F_HouseNo,F_OtherNo1,"
        "F_OtherNo2,F_Character,F_SortNo) values(?,?,?,?,'','','','','','','','','',0)"));
    insertData_ = std::make_unique<Statement>(
        s.taskConn.prepareStatement("Insert into " + data + "(F_EmpNo) Select ? Where Not Exists (Select 1 From " +
                                    data + " Where F_EmpNo=?)"));
    updateEmployee_ = std::make_unique<Statement>(s.taskConn.prepareStatement(
        "Update " + employees + " set F_DepNo=?,F_EmpName=?,F_Sex=? where F_EmpNo=?"));
}

MonthWriter::~MonthWriter() = default;

const MonthWriter::Employee* MonthWriter::find(const std::string& code) const {
    const auto it = employees_.find(upperAscii(code));
    return it == employees_.end() ? nullptr : &it->second;
}

void MonthWriter::addEmployee(const std::string& code, const std::string& dep, const std::string& name,
                              const std::string& sex) {
    insertEmployee_->run({code, dep, name, sex});
    insertData_->run({code, code});
    employees_[upperAscii(code)] = {code, name, dep};
    ++added_;
}

void MonthWriter::updateEmployee(const std::string& code, const std::string& dep, const std::string& name,
                                 const std::string& sex) {
    updateEmployee_->run({dep, name, sex, code});
    ensureDataRow(code);
    employees_[upperAscii(code)] = {code, name, dep};
}

void MonthWriter::ensureDataRow(const std::string& code) { insertData_->run({code, code}); }

void MonthWriter::setEmployeeFields(const std::vector<std::string>& columns) {
    updateFields_.reset();
    if (columns.empty())
        return;
    const auto& known = items::accountColumns();
    std::string sql = "Update " + periodTable(s_.taskPrefix(), "Employee") + " set ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (std::none_of(known.begin(), known.end(), [&](const auto& k) { return k.second == columns[i]; }))
            throw DbError("员工字段不正确：" + columns[i]);
        sql += (i ? "," : "") + columns[i] + "=coalesce(?," + columns[i] + ")";
    }
    updateFields_ = std::make_unique<Statement>(s_.taskConn.prepareStatement(sql + " where F_EmpNo=?"));
}

void MonthWriter::writeEmployeeFields(const std::string& code, const std::vector<Value>& values) {
    if (!updateFields_)
        return;
    Params p(values.begin(), values.end());
    p.push_back(code);
    updateFields_->run(p);
}

void MonthWriter::setColumns(const std::vector<std::string>& codes) {
    updateValues_.reset();
    if (codes.empty())
        return;
    std::string sql = "Update " + periodTable(s_.taskPrefix(), "Data") + " set ";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (!isItemCode(codes[i]))
            throw DbError("项目编码不正确：" + codes[i]);
        sql += (i ? "," : "") + codes[i] + "=?";
    }
    sql += " where F_EmpNo=?";
    updateValues_ = std::make_unique<Statement>(s_.taskConn.prepareStatement(sql));
}

void MonthWriter::writeValues(const std::string& code, const std::vector<Value>& values) {
    if (!updateValues_)
        return;
    Params p(values.begin(), values.end());
    p.push_back(code);
    updateValues_->run(p);
}

void MonthWriter::labelDateItem() {
    const Recordset rs = s_.taskConn.query(
        "Select F_Code From " + periodTable(s_.taskPrefix(), "Item") + " Where F_Type=? Order By F_ID",
        {items::kDate});
    if (rs.empty())
        return;
    const std::string code = trim(rs.row(0)[0].toString());
    const std::string data = periodTable(s_.taskPrefix(), "Data");
    if (!isItemCode(code) || !s_.taskConn.hasColumn(data, code))
        return;
    s_.taskConn.execute("Update " + data + " Set " + code + "=? Where " + code + " Is Null",
                        {items::periodDateText(s_.curPeriod)});
}

} // namespace gzgl::exchange
