// The Excel writer checked by reading the workbook back with openpyxl.
#include "exchange/xlsx.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace gzgl::exchange;

TEST(Xlsx, WritesCaptionsNumbersAndTextAsTyped) {
    gzgl::test::TempHome home;
    const std::string path = home.path + "/工资表.xlsx";
    SheetTable t;
    t.sheetName = "工资";
    t.captions = {"姓名", "账号", "基本工资", "备注"};
    t.kinds = {CellKind::Text, CellKind::Text, CellKind::Number, CellKind::Number};
    t.widths = {10, 22, 12};
    t.rows = {
        {"张三", "6222021234567890123", "1100.5", ""},
        {"李四", "0012", "3000", "未发"},
        {"王五", "", "", "12abc"},
    };
    writeXlsx(path, t);

    const std::string out = gzgl::test::dumpWorkbook(path);
    for (const char* want : {
             "sheet:工资", "1,1:str:姓名", "1,2:str:账号", "1,3:str:基本工资", "1,4:str:备注", "2,1:str:张三",
             "2,2:str:6222021234567890123", // every digit kept
             "2,3:float:1100.5",
             "2,4:NoneType:None", // an empty number cell stays empty
             "3,2:str:0012",      // a text column keeps leading zeros
             "3,3:int:3000",
             "3,4:str:未发", // text in a number column is text
             "4,3:NoneType:None",
             "4,4:str:12abc", // a numeric prefix is not a number
         }) {
        EXPECT_NE(out.find(std::string(want) + "\n"), std::string::npos) << want << "\n" << out;
    }
}

TEST(Xlsx, BadSheetNameFallsBackAndEmptyTableStillWrites) {
    gzgl::test::TempHome home;
    const std::string path = home.path + "/a.xlsx";
    SheetTable t;
    t.sheetName = "a/b:c";
    writeXlsx(path, t);
    EXPECT_NE(gzgl::test::dumpWorkbook(path).find("sheet:Sheet1\n"), std::string::npos);
}

TEST(Xlsx, UnwritablePathGivesChineseErrorAndNoFile) {
    gzgl::test::TempHome home;
    const std::string path = home.path + "/不存在的文件夹/b.xlsx";
    SheetTable t;
    t.captions = {"姓名"};
    t.rows = {{"张三"}};
    try {
        writeXlsx(path, t);
        FAIL() << "no error";
    } catch (const XlsxError& e) {
        EXPECT_NE(std::string(e.what()).find("无法写入Excel文件"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}
