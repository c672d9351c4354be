// Payslips written as one PDF per employee, read back with pdftotext.
#include "reports/render/payslip_files.h"
#include "reports/standard_jobs.h"

#include "support/payroll_fixture.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace gzgl;
using namespace gzgl::reports;

// The application below is kept to the end of the process, and fontconfig
// still holds what it allocated for it then: not a leak of this program.
// (Read by the leak checker of sanitizer builds; unused otherwise.)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

// The application lives to the end of the process: the renderer keeps
// fonts in static caches, which must not outlive it.
void guiApplication() {
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "gzgl_render_tests";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

// The PDF's text, NFKC-folded, with the radical forms poppler gives for
// some CJK glyphs mapped back.
std::string pdfText(const std::string& path) {
    const std::string cmd =
        "pdftotext -layout '" + path +
        "' - | /usr/bin/python3 -c 'import sys, unicodedata; t = unicodedata.normalize(\"NFKC\", "
        "sys.stdin.read()); "
        "print(t.translate(str.maketrans({\"\\u2ed4\": \"门\", \"\\u2eda\": \"页\", \"\\u2215\": \"/\"})))'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 512> buf{};
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

bool has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

struct Slips : test::PayrollTask {
    Slips() {
        s.sysConn.execute("Update GZSysInfo set F_BMJB='20000' where F_ID=?", {s.curTaskID});
        s.taskConn.execute("Insert Into " + table("Depart") +
                           "(F_DepNo,F_DepName,F_DepClass,F_End) Values('01','财务',1,1)");
        item("F004", "基本工资");
        formula("F003", "F004");
        formula("F000", "F003");
        employee("0001", "张一", "01");
        employee("0002", "李/二", "01");
        employee("0003", "王三", "01");
        value("0001", "F004", 1234.5);
        value("0002", "F004", 2345.67);
        value("0003", "F004", 3456.78);
    }
    BuiltReport build(int type) {
        ReportRequest rq{type, "2006", "02", "2006", "02", "", "", "", false};
        SilentProgress progress;
        return buildReport(s, rq, progress);
    }
};

} // namespace

TEST(PayslipFiles, OnePdfPerEmployeeNamedByCodeAndNameHoldingOnlyHisSlip) {
    guiApplication();
    Slips t;
    const BuiltReport r = t.build(kPayslips);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    const std::string folder = t.home.path + "/slips/new";
    std::vector<std::string> written;
    const Outcome o = writePayslipPdfs(t.s, r, folder, &written);
    ASSERT_TRUE(o.ok) << o.message;
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(std::filesystem::path(written[1]).filename(), "0002_李_二.pdf");
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        ++files;
        EXPECT_EQ(e.path().extension(), ".pdf") << "no temporary file left: " << e.path();
    }
    EXPECT_EQ(files, 3u);

    const std::string second = pdfText(written[1]);
    EXPECT_TRUE(has(second, "职工工资单")) << second;
    EXPECT_TRUE(has(second, "李/二")) << second;
    EXPECT_TRUE(has(second, "2345.67")) << second;
    EXPECT_TRUE(has(second, "基本工资")) << second;
    EXPECT_TRUE(has(second, "日期:2006年02月")) << second;
    EXPECT_TRUE(has(second, "第1/1页")) << second;
    EXPECT_TRUE(has(second, "制表:")) << second;
    EXPECT_TRUE(has(second, "管理员")) << second;
    EXPECT_FALSE(has(second, "张一")) << "another employee's slip in his file";
    EXPECT_FALSE(has(second, "3456.78"));
    EXPECT_TRUE(has(pdfText(written[2]), "3456.78"));

    // Written again over the same folder: the files are replaced.
    written.clear();
    EXPECT_TRUE(writePayslipPdfs(t.s, r, folder, &written).ok);
    EXPECT_EQ(written.size(), 3u);
}

TEST(PayslipFiles, OnlyAPayslipReportIsWrittenAndAnUnwritableFolderIsNamed) {
    guiApplication();
    Slips t;
    const BuiltReport sheet = t.build(kPaySheet);
    ASSERT_TRUE(sheet.outcome.ok);
    EXPECT_EQ(writePayslipPdfs(t.s, sheet, t.home.path + "/x").message, "没有数据可供打印！");
    const std::string blocker = t.home.path + "/file";
    std::FILE* f = std::fopen(blocker.c_str(), "w");
    std::fclose(f);
    const Outcome o = writePayslipPdfs(t.s, t.build(kPayslips), blocker + "/sub");
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(has(o.message, "无法写入文件")) << o.message;
}
