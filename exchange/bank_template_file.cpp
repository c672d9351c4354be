// The bank template file: its bytes written from a template and read back.
// Layout in bank.h. Reading never trusts the file: every line is checked
// against its layout before a row is made of it, and a line that does not
// fit is reported instead.
#include "exchange/bank.h"
#include "exchange/fieldformat.h"
#include "exchange/textfile.h"

#include "core/text.h"

namespace gzgl::exchange {

namespace {

// Byte offsets of a row line (after the 2 bytes of "行").
constexpr std::size_t kRowNumberAt = 2;
constexpr std::size_t kNameAt = 4;
constexpr std::size_t kTypeAt = 24;
constexpr std::size_t kWidthAt = 25;
constexpr std::size_t kAlignAt = 27;
constexpr std::size_t kSourceAt = 28;
constexpr std::size_t kPointAt = 48;
constexpr std::size_t kDigitsAt = 49;
constexpr std::size_t kRowBytes = 51;
constexpr std::size_t kTextBytes = 20;

const std::string& gbkOf(const char* utf8) {
    // Only used on the few fixed tags below, each converted once.
    static thread_local std::string cache[4];
    static const char* const tags[4] = {"标1", "行", "尾1", "部"};
    for (int i = 0; i < 4; ++i)
        if (std::string_view(tags[i]) == utf8) {
            if (cache[i].empty())
                cache[i] = gbkStrict(tags[i]).value_or("");
            return cache[i];
        }
    static const std::string none;
    return none;
}

bool startsWith(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}

// Two ASCII digits as their number; -1 otherwise.
int twoDigits(std::string_view s) {
    if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9')
        return -1;
    return (s[0] - '0') * 10 + (s[1] - '0');
}

// A digits-only cell as a number, saturating at 1000 (anything above the
// two-digit field); -1 for an empty or non-digit text.
int cellNumber(std::string_view s) {
    const std::string t = trim(s);
    if (t.empty())
        return -1;
    int v = 0;
    for (const char c : t) {
        if (c < '0' || c > '9')
            return -1;
        v = std::min(v * 10 + (c - '0'), 1000);
    }
    return v;
}

std::string twoDigitText(int v) {
    if (v < 0)
        v = 0;
    if (v > 99)
        v = 99;
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

} // namespace

std::optional<std::string> bankTemplateBytes(const BankTemplate& tpl, std::string* refusal) {
    auto encode = [&](const std::string& text, const std::string& what) -> std::optional<std::string> {
        auto gbk = gbkStrict(text);
        if (!gbk && refusal)
            *refusal = what + "里有GBK字符集以外的字符“" + firstUnencodable(text) + "”，不能保存。";
        return gbk;
    };
    std::string out;
    const auto head = encode(tpl.head, "增加文件首行");
    if (!head)
        return std::nullopt;
    out += gbkOf("标1") + *head + "\r\n";
    for (std::size_t r = 0; r < tpl.rows.size(); ++r) {
        const BankField& f = tpl.rows[r];
        const std::string where = "第" + std::to_string(r + 1) + "行的";
        const auto name = encode(trim(f.name), where + "项目名称");
        if (!name)
            return std::nullopt;
        const auto source = encode(trim(f.source), where + "对应数据");
        if (!source)
            return std::nullopt;
        const std::string align = trim(f.align);
        const char a = !align.empty() && (align[0] == '1' || align[0] == '2') ? align[0] : '0';
        out += gbkOf("行") + twoDigitText(static_cast<int>(r + 1) % 100);
        out += fitGbk(*name, 0, static_cast<int>(kTextBytes));
        out += trim(f.type) == kTypeNumber ? "0" : "1";
        out += twoDigitText(cellNumber(f.width));
        out += a;
        out += fitGbk(*source, 0, static_cast<int>(kTextBytes));
        out += trim(f.point).empty() ? "0" : "1";
        out += twoDigitText(cellNumber(f.digits));
        out += "\r\n";
    }
    const auto tail = encode(tpl.tail, "增加文件尾行");
    if (!tail)
        return std::nullopt;
    out += gbkOf("尾1") + *tail + "\r\n";
    for (const std::string& d : tpl.departments) {
        const auto entry = encode(d, "部门“" + d + "”");
        if (!entry)
            return std::nullopt;
        out += gbkOf("部") + *entry + "\r\n";
    }
    return out;
}

TemplateLoad parseBankTemplate(std::string_view bytes) {
    TemplateLoad out;
    bool sawHead = false, sawTail = false;
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        auto problem = [&](const std::string& why) {
            out.problems.push_back("第 " + std::to_string(lineNo) + " 行无法读取：" + why);
        };
        auto text = [&](std::string_view gbk, std::string& into) {
            auto u = utf8Strict(gbk);
            if (!u) {
                problem("含有不是GBK编码的字节");
                return false;
            }
            into = std::move(*u);
            return true;
        };
        if (startsWith(line, gbkOf("标1"))) {
            std::string head;
            if (text(line.substr(gbkOf("标1").size()), head))
                out.tpl.head = std::move(head);
            sawHead = true;
        } else if (startsWith(line, gbkOf("尾1"))) {
            std::string tail;
            if (text(line.substr(gbkOf("尾1").size()), tail))
                out.tpl.tail = std::move(tail);
            sawTail = true;
        } else if (startsWith(line, gbkOf("部"))) {
            std::string entry;
            if (text(line.substr(gbkOf("部").size()), entry))
                out.tpl.departments.push_back(std::move(entry));
        } else if (startsWith(line, gbkOf("行"))) {
            if (line.size() < kRowBytes) {
                problem("格式行太短（应有" + std::to_string(kRowBytes) + "个字节，只有" +
                        std::to_string(line.size()) + "个）");
                continue;
            }
            if (!trim(line.substr(kRowBytes)).empty()) {
                problem("格式行太长（应有" + std::to_string(kRowBytes) + "个字节）");
                continue;
            }
            BankField f;
            std::string name, source;
            const int width = twoDigits(line.substr(kWidthAt, 2));
            const int digits = twoDigits(line.substr(kDigitsAt, 2));
            const char type = line[kTypeAt], align = line[kAlignAt], point = line[kPointAt];
            if (twoDigits(line.substr(kRowNumberAt, 2)) < 0)
                problem("行号不是两位数字");
            else if (type != '0' && type != '1')
                problem("类型应为0或1");
            else if (width < 0)
                problem("字符宽度不是两位数字");
            else if (align != '0' && align != '1' && align != '2')
                problem("对齐方式应为0、1或2");
            else if (point != '0' && point != '1')
                problem("小数点应为0或1");
            else if (digits < 0)
                problem("固定宽度不是两位数字");
            else if (text(line.substr(kNameAt, kTextBytes), name) &&
                     text(line.substr(kSourceAt, kTextBytes), source)) {
                f.name = trim(name);
                f.type = type == '0' ? kTypeNumber : kTypeText;
                f.width = std::to_string(width);
                f.align = align == '0' ? kAlignLeft : align == '1' ? kAlignCentre : kAlignRight;
                f.source = trim(source);
                f.point = point == '1' ? kPointShown : "";
                f.digits = digits == 0 ? std::string() : std::to_string(digits);
                out.tpl.rows.push_back(std::move(f));
            }
        } else {
            problem("不是银行报盘文件格式的行");
        }
    }
    if (!sawHead)
        out.problems.push_back("文件中没有“标1”行（增加文件首行），首行文字未能读取");
    if (!sawTail)
        out.problems.push_back("文件中没有“尾1”行（增加文件尾行），文件可能不完整");
    return out;
}

} // namespace gzgl::exchange
