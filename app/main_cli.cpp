// gzgl-cli: the engine from a terminal, for scripting and administration.
#include "app/cli/cli_prompt.h"
#include "app/cli/commands.h"
#include "core/connection.h"
#include "core/paths.h"
#include "core/startup.h"

#include <iostream>

namespace {

const char* kUsage = R"(用法 / usage: gzgl-cli [--home DIR] [--yes] COMMAND ...
  init
  task add --name NAME [--operator OP] [--password PW] [--year YYYY] [--month MM]
           --code-length N [--mode CODE] [--corp CODE]
  task list
  task amend --task NAME --user U --password P [--new-name N] [--new-operator O]
             [--new-password P2] [--corp C] [--mode CODE]
  task delete --task NAME --user U --password P [--yes]
  task export LOGIN --to DIR [--date YYYYMMDD]   写出 GZ_任务号_日期.ksc
  task import --file FILE.ksc
  login --task NAME --user U --password P
  passwd --task NAME --user U --password OLD --new NEW [--repeat NEW]
  settings notcalc on|off --task NAME --user U --password P
  eval [--prec N] [FORMULA...]   无 FORMULA 时从标准输入逐行读取公式
  item list|add|change|delete|move LOGIN ...
       add --name N [--type 数字|文字|日期] [--prec N] [--width MM] [--show 0|1]
           [--print 0|1] [--fixed VALUE]
       change --code FXXX [同 add 的选项; --fixed off 取消自定项]
       delete --code FXXX [--yes]      move --code FXXX up|down
  formula list LOGIN | add --code FXXX --text F [--yes]
       | replace --code FXXX --id N --text F | delete --code FXXX --id N
       | move --id N up|down | check --text F | check-order   检查公式顺序
  tax list LOGIN [--annual] | set --threshold T (stdin: start TAB end TAB rate TAB quick)
       | set --annual [--deduction D] (stdin 同上，为年度税率表)
       | generate --code FXXX --threshold T [--yes] | generate --annual [--yes]
       | method [按月税率表|累计预扣法]
       | cumulative [--income FXXX] [--deductions FXXX,FXXX] [--tax FXXX]
  recalc LOGIN [--period YYYYMM]   重算工资表并按制表符分隔输出（不写入）
  trace LOGIN --emp 编号 [--pdf FILE]   一名员工的计算过程（逐行公式、代入值、结果、扣零）
  dep list LOGIN | add --code C --name N [--type 类型名称] [--yes]
      | modify --code C [--name N] [--type NN] | delete --code C [--yes]
  deptype list LOGIN | add [--no NN] --name N | rename --no NN --name N
      | delete --no NN [--yes]
  emptype list LOGIN | add --code C --name N | delete --code C [--yes]
  emp list LOGIN [--dep D] [--order sort|code]
      | add --dep D --name N [--code C] [FIELDS] | modify --code C [FIELDS]
      | delete --code C [--yes]
      FIELDS: --sex 男|女 --nation T --cid T --acc T --pension T --housing T
              --other1 T --other2 T --sort N --character DIGITS --type CODE
              --notcalc F004,F005 --joined YYYY.MM.DD
  transfer LOGIN --to DEP EMPNO...
  data set LOGIN --emp EMPNO --item CODE VALUE
  export LOGIN --xlsx FILE [--dep D] [--with-accounts] [--yes]
  batch LOGIN --item 项目 --way 0|1|2 --value V [--deptype T] [--dep D]
        [--emptype C] [--code C] [--name N] [--cond "项目 >= 值 并且|或者"]...
  print LOGIN --form N --pdf FILE [--dep D]
  divide LOGIN [--dep CODE] [--total] [--pdf FILE]   工资票面分配（票额分割表）
  query LOGIN --from YYYYMM [--to YYYYMM] [--dep "编码 名称,编码 名称"] [--dep-type 类别名称]
        [--emp-type CODE] [--code 编号前缀] [--name 姓名前缀] [--cond "项目 比较 值 并且|或者"]...
        (--tsv | --xlsx FILE | --save FILE --sep SEP | --pdf FILE) [--yes]
  report LOGIN --type 0|1|2|3 --from YYYYMM [--to YYYYMM] [--dep "编码 名称,..."]
         [--dep-type 类型名称,...] [--level N | --lowest] (--pdf FILE | --tsv | --split-pdf DIR)
         0 部门汇总表, 1 部门类型汇总表, 2 发放表, 3 工资单（--split-pdf: 每人一个 PDF）
  period list LOGIN | close LOGIN [--year YYYY --month MM] | restore LOGIN --to YYYYMM [--yes]
         | clear LOGIN --period YYYYMM
  bank template show LOGIN | template set LOGIN (标准输入，格式同 show 的输出)
       | write LOGIN [--name FILE] [--sep TEXT] [--seq] [--total] [--by-account] [--include] [--yes]
       | print LOGIN --pdf FILE [--by-account] [--include]
       | copy LOGIN --to DIR [--name FILE] [--yes]
       格式: 每个格式行一行，七格以制表符分隔: 项目 类型(数字|字符) 字符宽度
             对齐方式(0:左对齐|1:中对齐|2:右对齐) 对应数据 小数点(显示|空) 固定宽度；
             然后 "head<TAB>首行文字"、"tail<TAB>尾行文字"、每个部门一行 "dep<TAB>代码 名称"。
       --name 默认 NJGZ.TXT（文件名中插入本期），--sep 默认"默认格式"（定宽），
       其他文字即分隔符（TAB 或 \t 为制表符）；--include 只报送所列部门，否则不报送所列部门。
  link show LOGIN | set LOGIN --folder DIR --set 核算单位名称 | set LOGIN --none
       | set LOGIN --odbc 连接串 --set 核算单位名称 [--product KS770CW|KS770ZW] [--db-password 口令]
       连接财务系统（单机版：DIR 为财务数据文件夹；网络版：ODBC 数据源名或连接串，
       不含口令；口令由 --db-password 或环境变量 GZGL_DB_PASSWORD 给出，从不保存）
  voucher (或 transfer) rules list LOGIN | rules set LOGIN (标准输入，每条公式一行，七格以制表符分隔:
          部门 工资项目 转账属性 摘要 借方科目 贷方科目 凭证号)
        | run LOGIN --date YYYYMMDD [--unite] [--yes] [--db-password 口令]
          本月工资转账（--unite 同科目合并）
  acct demo --dir DIR [--user 操作员]... [--period YYYYMM]   建立演示用的单机版财务数据
  acct demo --odbc 连接串 [--product 产品名] [--db-password 口令] [--user 操作员]... [--period YYYYMM]
       在数据库服务器上已有的财务数据库（库名即产品名）中建立演示核算单位
  backup month LOGIN [--period YYYYMM] --to DIR   写出 DIR/GZ任务号_期间_BAK/…KSC，之后须重新登录
  backup all --to FILE|DIR                     全库备份（系统库、全部任务库、银行格式文件）；
                                               DIR 时写出 DIR/GZALL_日期.KSC
  restore LOGIN --from 备份文件夹 [--yes]       恢复该月份的数据，之后须重新登录
  restore all --from FILE --home 新数据目录      把全库备份展开为新的数据目录（须不存在或为空）
  exchange export LOGIN --file FILE [--yes]     写出当月的数据加载文件（KS770_GZGL 格式）
  exchange load --file FILE --password P        加载数据文件：任务按名称和操作人员查找，没有则新建
  exchange import LOGIN --file FILE             导入工资查询导出的分隔文本（数据接口文件）
  demo --home 新的数据目录 [--year YYYY --month MM]   建立演示数据（任务 演示单位，操作员 管理员，口令 demo）
LOGIN: --task NAME --user U --password P.
CODE: 扣尾方式代码 0-7. Exit: 0 成功, 1 被规则拒绝, 2 用法错误.
)";

} // namespace

int main(int argc, char** argv) {
    using namespace gzgl;
    try {
        const cli::Args args(argc, argv,
                             {"yes", "help", "with-accounts", "tsv", "seq", "total", "by-account", "include",
                              "lowest", "unite", "none", "annual"});
        if (args.flag("help") || args.words().empty()) {
            std::cout << kUsage;
            return args.flag("help") ? 0 : 2;
        }
        Session session;
        initSession(session, resolveDataHome(args.get("home", "")));
        cli::CliPrompt prompt(args.flag("yes"));
        cli::Context ctx{session, prompt, args};
        const std::string& cmd = args.words()[0];
        if (cmd == "init")
            return cli::cmdInit(ctx);
        if (cmd == "task")
            return cli::cmdTask(ctx);
        if (cmd == "login")
            return cli::cmdLogin(ctx);
        if (cmd == "passwd")
            return cli::cmdPasswd(ctx);
        if (cmd == "settings")
            return cli::cmdSettings(ctx);
        if (cmd == "eval")
            return cli::cmdEval(ctx);
        if (cmd == "item")
            return cli::cmdItem(ctx);
        if (cmd == "formula")
            return cli::cmdFormula(ctx);
        if (cmd == "tax")
            return cli::cmdTax(ctx);
        if (cmd == "recalc")
            return cli::cmdRecalc(ctx);
        if (cmd == "trace")
            return cli::cmdTrace(ctx);
        if (cmd == "dep")
            return cli::cmdDep(ctx);
        if (cmd == "deptype")
            return cli::cmdDepType(ctx);
        if (cmd == "emptype")
            return cli::cmdEmpType(ctx);
        if (cmd == "emp")
            return cli::cmdEmp(ctx);
        if (cmd == "transfer")
            return cli::cmdTransfer(ctx);
        if (cmd == "data")
            return cli::cmdData(ctx);
        if (cmd == "export")
            return cli::cmdExport(ctx);
        if (cmd == "batch")
            return cli::cmdBatch(ctx);
        if (cmd == "print")
            return cli::cmdPrint(ctx);
        if (cmd == "period")
            return cli::cmdPeriod(ctx);
        if (cmd == "query")
            return cli::cmdQuery(ctx);
        if (cmd == "bank")
            return cli::cmdBank(ctx);
        if (cmd == "divide")
            return cli::cmdDivide(ctx);
        if (cmd == "report")
            return cli::cmdReport(ctx);
        if (cmd == "link")
            return cli::cmdLink(ctx);
        if (cmd == "voucher")
            return cli::cmdVoucher(ctx);
        if (cmd == "acct")
            return cli::cmdAcct(ctx);
        if (cmd == "backup")
            return cli::cmdBackup(ctx);
        if (cmd == "restore")
            return cli::cmdRestore(ctx);
        if (cmd == "exchange")
            return cli::cmdExchange(ctx);
        if (cmd == "demo")
            return cli::cmdDemo(ctx);
        throw cli::UsageError("未知命令 " + cmd);
    } catch (const cli::UsageError& e) {
        std::cerr << e.what() << "\n" << kUsage;
        return 2;
    } catch (const DbError& e) {
        std::cerr << "数据库错误: " << e.what() << "\n";
        return 1;
    }
}
