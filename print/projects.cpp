#include "print/projects.h"

#include "core/schema.h"

#include <algorithm>

namespace gzgl::print {

namespace {

// Reads the lines of one project from _PrnHead or _PrnFoot.
std::vector<PrintLine> readLines(Connection& c, const std::string& table, const char* distColumn, long form,
                                 long prj) {
    const Recordset rs = c.query(std::string("Select F_Visible,F_Pkg,F_Font,F_Align,F_LRDist,") + distColumn +
                                     ",F_Content from " + table + " where F_FormID=? and F_PrjID=? order by F_Index",
                                 {static_cast<std::int64_t>(form), static_cast<std::int64_t>(prj)});
    std::vector<PrintLine> lines;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& r = rs.row(i);
        lines.push_back({r[0].toInt() != 0, r[1].toInt() != 0, r[2].toString(), static_cast<int>(r[3].toInt()),
                         r[4].toDouble(), r[5].toDouble(), r[6].toString()});
    }
    return lines;
}

void writeLines(Connection& c, const std::string& table, const char* distColumn, const PrintProject& p,
                const std::vector<PrintLine>& lines) {
    const std::string sql = "Insert into " + table + "(F_FormID,F_PrjID,F_Index,F_Visible,F_Pkg,F_Font,F_Align,F_LRDist," +
                            distColumn + ",F_Content) values(?,?,?,?,?,?,?,?,?,?)";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PrintLine& l = lines[i];
        c.execute(sql, {static_cast<std::int64_t>(p.formID), static_cast<std::int64_t>(p.prjID),
                        static_cast<std::int64_t>(i), l.visible ? 1 : 0, l.pkg ? 1 : 0, l.font, l.align, l.lrDist,
                        l.dist, l.content});
    }
}

} // namespace

PrintTables PrintTables::forPrefix(const std::string& p) {
    return {p + "PrnPrj", p + "PrnHead", p + "PrnFoot", p + "StdPrnCol"};
}

std::int64_t codeColumnKey(const std::string& code) {
    if (code.size() != 4)
        return 0;
    std::int64_t key = 0;
    for (char ch : code) {
        const auto b = static_cast<unsigned char>(ch);
        if (b <= ' ' || b >= 0x7f)
            return 0;
        key = key << 8 | b;
    }
    return key;
}

std::string codeOfColumnKey(std::int64_t key) {
    // A grid index never reaches 2^24; four printable bytes always do.
    if (key < (std::int64_t{1} << 24) || key > 0x7f7f7f7f)
        return {};
    std::string code;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto b = static_cast<unsigned char>(key >> shift & 0xff);
        if (b <= ' ' || b >= 0x7f)
            return {};
        code += static_cast<char>(b);
    }
    return code;
}

std::int64_t PrintColumn::key() const {
    return code.empty() ? col : codeColumnKey(code);
}

const PrintColumn* PrintProject::column(int col, const std::string& code) const {
    for (const PrintColumn& c : columns)
        if (code.empty() ? c.code.empty() && c.col == col : c.code == code)
            return &c;
    return nullptr;
}

PrintColumn* PrintProject::column(int col, const std::string& code) {
    return const_cast<PrintColumn*>(static_cast<const PrintProject*>(this)->column(col, code));
}

PrintProject defaultProject(long formID) {
    PrintProject p;
    p.formID = formID;
    p.fixCols = 2;
    return p;
}

std::optional<PrintProject> loadDefaultProject(Connection& c, const PrintTables& t, long formID) {
    const Recordset rs = c.query(
        "Select F_PrjID,F_PrjName,F_defPrj,F_Rows,F_SpRow,F_FixHeight,F_Forms,F_FormDist,F_FixCols,F_PageHead,"
        "F_PageFoot,F_PreNext,F_PreNextCol,F_Zero,F_Thousand,F_FormTop,F_FormBottom,F_FormLeft,F_FormRight,"
        "F_ColHeadFont,F_DataFont,F_Pkg,F_SalaryHeight,F_dPara1,F_dPara2,F_iPara3,F_iPara4,F_sPara5,F_sPara6 from " +
            t.prj + " where F_FormID=? order by F_defPrj desc,F_PrjID limit 1",
        {static_cast<std::int64_t>(formID)});
    if (rs.empty())
        return std::nullopt;
    const auto& r = rs.row(0);
    PrintProject p;
    p.formID = formID;
    p.prjID = static_cast<long>(r[0].toInt());
    p.name = r[1].toString();
    p.isDefault = r[2].toInt() != 0;
    p.rows = static_cast<int>(r[3].toInt());
    p.spRow = static_cast<int>(r[4].toInt());
    p.rowHeight = r[5].toDouble() > 0 ? r[5].toDouble() : 6.0;
    p.forms = static_cast<int>(r[6].toInt());
    p.formDist = r[7].toDouble();
    p.fixCols = static_cast<int>(r[8].toInt());
    p.pageHead = r[9].toInt() != 0;
    p.pageFoot = r[10].toInt() != 0;
    p.preNext = static_cast<int>(r[11].toInt());
    p.preNextCol = static_cast<int>(r[12].toInt());
    p.zero = static_cast<int>(r[13].toInt());
    p.thousand = r[14].toInt() != 0;
    p.top = r[15].toDouble();
    p.bottom = r[16].toDouble();
    p.left = r[17].toDouble();
    p.right = r[18].toDouble();
    p.colHeadFont = r[19].toString();
    p.dataFont = r[20].toString();
    p.pkg = static_cast<int>(r[21].toInt());
    p.salaryHeight = r[22].isNull() ? 2 : r[22].toDouble();
    p.paperWidth = r[23].toDouble();
    p.paperHeight = r[24].toDouble();
    p.landscape = r[25].toInt() == 1;
    p.iPara4 = static_cast<int>(r[26].toInt());
    p.sPara5 = r[27].toString();
    p.sPara6 = r[28].toString();
    p.heads = readLines(c, t.head, "F_TopDist", formID, p.prjID);
    p.foots = readLines(c, t.foot, "F_BottomDist", formID, p.prjID);
    const Recordset cols = c.query("Select F_Col,F_ColWidth,F_ColAlign,F_HeadColAlign,F_InPage from " + t.col +
                                       " where F_FormID=? and F_PrjID=? order by F_Col",
                                   {static_cast<std::int64_t>(formID), static_cast<std::int64_t>(p.prjID)});
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const auto& cr = cols.row(i);
        const std::string code = codeOfColumnKey(cr[0].toInt());
        p.columns.push_back({code.empty() ? static_cast<int>(cr[0].toInt()) : -1, cr[1].toDouble(),
                             static_cast<int>(cr[2].toInt()), static_cast<int>(cr[3].toInt()),
                             static_cast<int>(cr[4].toInt()), code});
    }
    return p;
}

void saveProject(Connection& c, const PrintTables& t, const PrintProject& p) {
    const Params key{static_cast<std::int64_t>(p.formID), static_cast<std::int64_t>(p.prjID)};
    Transaction tx(c);
    for (const std::string* table : {&t.prj, &t.head, &t.foot, &t.col})
        c.execute("Delete from " + *table + " where F_FormID=? and F_PrjID=?", key);
    c.execute("Update " + t.prj + " set F_defPrj=0 where F_FormID=?", {static_cast<std::int64_t>(p.formID)});
    c.execute("Insert into " + t.prj +
                  "(F_FormID,F_PrjID,F_PrjName,F_defPrj,F_Rows,F_SpRow,F_FixHeight,F_Forms,F_FormDist,F_FixCols,"
                  "F_PageHead,F_PageFoot,F_PreNext,F_PreNextCol,F_Zero,F_Thousand,F_FormTop,F_FormBottom,F_FormLeft,"
                  "F_FormRight,F_ColHeadFont,F_DataFont,F_Pkg,F_SalaryHeight,F_dPara1,F_dPara2,F_iPara3,F_iPara4,"
                  "F_sPara5,F_sPara6) values(?,?,?,1,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
              {static_cast<std::int64_t>(p.formID), static_cast<std::int64_t>(p.prjID), p.name, p.rows, p.spRow,
               p.rowHeight, p.forms, p.formDist, p.fixCols, p.pageHead ? 1 : 0, p.pageFoot ? 1 : 0, p.preNext,
               p.preNextCol, p.zero, p.thousand ? 1 : 0, p.top, p.bottom, p.left, p.right, p.colHeadFont,
               p.dataFont, p.pkg, p.salaryHeight, p.paperWidth, p.paperHeight, p.landscape ? 1 : 0, p.iPara4,
               p.sPara5, p.sPara6});
    writeLines(c, t.head, "F_TopDist", p, p.heads);
    writeLines(c, t.foot, "F_BottomDist", p, p.foots);
    for (const PrintColumn& col : p.columns)
        c.execute("Insert into " + t.col +
                      "(F_FormID,F_PrjID,F_Col,F_ColWidth,F_ColAlign,F_HeadColAlign,F_InPage) "
                      "values(?,?,?,?,?,?,?)",
                  {key[0], key[1], col.key(), col.width, col.align, col.headAlign, col.inPage});
    tx.commit();
}

int resetTransientColumns(Session& s) {
    return s.taskConn.execute("update " + periodTable(s.taskPrefix(), "StdPrnCol") +
                              " set f_inpage =1 where F_Inpage=-1");
}

} // namespace gzgl::print
