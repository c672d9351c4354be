#include "core/settings.h"

#include "core/schema.h"

namespace gzgl {

void setNotCalc(Session& s, bool on) {
    const char* value = on ? "1" : "0";
    ensureParameterTable(s.sysConn);
    const Recordset rs =
        s.sysConn.query("select * from tbSysSet where ztName = ? and ParaName = ?", {s.curTaskID, "BJSGZX"});
    if (rs.empty())
        s.sysConn.execute("insert into tbSysSet values(?,?,?)", {s.curTaskID, "BJSGZX", value});
    else
        s.sysConn.execute("update tbSysSet set ParaValue = ? where ztName = ? and ParaName = ?",
                          {value, s.curTaskID, "BJSGZX"});
}

} // namespace gzgl
