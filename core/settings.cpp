#include "core/settings.h"

#include "core/schema.h"
#include "core/text.h"

namespace gzgl {

void setNotCalc(Session& s, bool on) {
    ensureParameterTable(s.sysConn);
    Transaction t(s.sysConn);
    putTaskParameter(s.sysConn, "tbSysSet", s.curTaskID, "BJSGZX", on ? "1" : "0");
    t.commit();
}

std::optional<std::string> taskParameter(Session& s, const std::string& name) {
    if (!s.sysConn.hasTable("tbSysSet"))
        return std::nullopt;
    const Recordset rs = s.sysConn.query("select ParaValue from tbSysSet where ztName = ? and ParaName = ?",
                                         {s.curTaskID, name});
    if (rs.empty())
        return std::nullopt;
    return trim(rs.row(0)[0].toString());
}

void putTaskParameter(Connection& c, const std::string& table, const std::string& task, const std::string& name,
                      const std::string& value) {
    c.execute("delete from " + table + " where ztName = ? and ParaName = ?", {task, name});
    c.execute("insert into " + table + "(ztName,ParaName,ParaValue) values(?,?,?)", {task, name, value});
}

} // namespace gzgl
