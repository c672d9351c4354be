#include "reports/render/payslip_files.h"

#include "print/render/render.h"
#include "print/screen_jobs.h"
#include "reports/standard_jobs.h"

#include <filesystem>
#include <set>
#include <system_error>

#include <unistd.h>

namespace gzgl::reports {

Outcome writePayslipPdfs(Session& s, const BuiltReport& report, const std::string& folder,
                         std::vector<std::string>* written) {
    namespace fs = std::filesystem;
    if (report.type != kPayslips || report.grid.dataRows() == 0)
        return Outcome::refuse("没有数据可供打印！", "提示", Icon::Exclamation);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder))
        return Outcome::refuse("无法写入文件 " + folder, "提示", Icon::Exclamation);
    std::set<std::string> used;
    for (int row = 0; row < report.grid.dataRows(); ++row) {
        const std::string name = payslipFileName(report.grid.cell(row, 0), report.grid.cell(row, 1));
        std::string file = name;
        for (int n = 2; !used.insert(file).second; ++n)
            file = name.substr(0, name.size() - 4) + " (" + std::to_string(n) + ").pdf";
        const fs::path target = fs::path(folder) / file;
        const fs::path temp =
            fs::path(folder) / ("." + file + ".tmp" + std::to_string(static_cast<long>(::getpid())));
        print::clsGridPrint job = payslipJob(s, report, row);
        std::string error;
        if (!print::renderPdf(job, temp.string(), &error)) {
            fs::remove(temp, ec);
            return Outcome::refuse("无法写入文件 " + target.string(), "提示", Icon::Exclamation);
        }
        fs::rename(temp, target, ec);
        if (ec) {
            fs::remove(temp, ec);
            return Outcome::refuse("无法写入文件 " + target.string(), "提示", Icon::Exclamation);
        }
        if (written)
            written->push_back(target.string());
    }
    return Outcome::success();
}

} // namespace gzgl::reports
