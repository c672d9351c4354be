#include "screens/print/frmPrintSetup.h"

#include "core/text.h"

#include "screens/session/QtPrompt.h"
#include "screens/session/ScreenSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>

using namespace gzgl;
using namespace gzgl::print;

namespace {

struct Paper {
    const char* name;
    double width, height; // 0 = A4, the engine's default
};
const Paper kPapers[] = {{"A4 (210×297毫米)", 0, 0}, {"A3 (297×420毫米)", 297, 420}, {"B5 (176×250毫米)", 176, 250}};

const char* const kFaces[] = {"宋体", "黑体", "楷体", "仿宋"};

QDoubleSpinBox* mmBox(QWidget* parent, const char* name, double max, double step = 1.0) {
    auto* b = new QDoubleSpinBox(parent);
    b->setObjectName(name);
    b->setRange(0, max);
    b->setDecimals(1);
    b->setSingleStep(step);
    b->setSuffix(QStringLiteral(" 毫米"));
    return b;
}

QSpinBox* countBox(QWidget* parent, const char* name, int max, const QString& special) {
    auto* b = new QSpinBox(parent);
    b->setObjectName(name);
    b->setRange(0, max);
    b->setSpecialValueText(special);
    return b;
}

QComboBox* alignBox(QWidget* parent, int align) {
    auto* c = new QComboBox(parent);
    c->addItems({QStringLiteral("左"), QStringLiteral("中"), QStringLiteral("右")});
    c->setCurrentIndex(std::clamp(align, 0, 2));
    return c;
}

QDoubleSpinBox* sizeBox(QWidget* parent, double size) {
    auto* b = new QDoubleSpinBox(parent);
    b->setRange(4, 72);
    b->setDecimals(1);
    b->setValue(size);
    return b;
}

QComboBox* faceBox(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    for (const char* f : kFaces)
        c->addItem(QString::fromUtf8(f));
    return c;
}

// The font spec of a face, size and weight, keeping the spec's other fields.
std::string fontWith(const std::string& spec, const QString& face, double size, bool bold) {
    FontSpec f = FontSpec::parse(spec);
    if (!face.trimmed().isEmpty())
        f.face = ss(face.trimmed());
    f.size = size;
    f.bold = bold;
    return f.text();
}

QTableWidgetItem* checkItem(bool on) {
    auto* i = new QTableWidgetItem;
    i->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    i->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    return i;
}

// A header or footer line the user adds: printed, his own text, left.
const PrintLine kNewLine{true, false, kTextFont, 0, 0, 1.0, ""};

template <class W> W* cell(const QTableWidget* t, int r, int c) { return qobject_cast<W*>(t->cellWidget(r, c)); }

} // namespace

frmPrintSetup::frmPrintSetup(clsGridPrint& job, QWidget* parent) : QDialog(parent), job_(job) {
    setObjectName("frmPrintSetup");
    setWindowTitle(QStringLiteral("页面设置"));
    stored_ = job.project();
    shownHeads_ = effectiveLines(job.heads(), stored_.heads);
    shownFoots_ = effectiveLines(job.foots(), stored_.foots);

    auto* tabs = new QTabWidget(this);

    // 页面: paper, margins and the table's rows.
    auto* page = new QWidget(tabs);
    cmbPaper = new QComboBox(page);
    cmbPaper->setObjectName("cmbPaper");
    for (const Paper& p : kPapers)
        cmbPaper->addItem(QString::fromUtf8(p.name));
    chkLandscape = new QCheckBox(QStringLiteral("横向"), page);
    chkLandscape->setObjectName("chkLandscape");
    spnTop = mmBox(page, "spnTop", 100);
    spnBottom = mmBox(page, "spnBottom", 100);
    spnLeft = mmBox(page, "spnLeft", 100);
    spnRight = mmBox(page, "spnRight", 100);
    spnRows = countBox(page, "spnRows", 500, QStringLiteral("自动"));
    spnRowHeight = mmBox(page, "spnRowHeight", 50, 0.5);
    spnRowHeight->setMinimum(1);
    spnFixCols = countBox(page, "spnFixCols", std::max(job.grid().cols(), 0), QStringLiteral("无"));
    chkZero = new QCheckBox(QStringLiteral("零值不打印"), page);
    chkZero->setObjectName("chkZero");
    chkThousand = new QCheckBox(QStringLiteral("金额加千位分隔符"), page);
    chkThousand->setObjectName("chkThousand");
    chkPageHead = new QCheckBox(QStringLiteral("打印页眉"), page);
    chkPageHead->setObjectName("chkPageHead");
    chkPageFoot = new QCheckBox(QStringLiteral("打印页脚"), page);
    chkPageFoot->setObjectName("chkPageFoot");

    auto* paperBox = new QGroupBox(QStringLiteral("纸张"), page);
    auto* paperLayout = new QHBoxLayout(paperBox);
    paperLayout->addWidget(cmbPaper, 1);
    paperLayout->addWidget(chkLandscape);
    auto* marginBox = new QGroupBox(QStringLiteral("页边距"), page);
    auto* margins = new QGridLayout(marginBox);
    margins->addWidget(new QLabel(QStringLiteral("上："), marginBox), 0, 0);
    margins->addWidget(spnTop, 0, 1);
    margins->addWidget(new QLabel(QStringLiteral("下："), marginBox), 0, 2);
    margins->addWidget(spnBottom, 0, 3);
    margins->addWidget(new QLabel(QStringLiteral("左："), marginBox), 1, 0);
    margins->addWidget(spnLeft, 1, 1);
    margins->addWidget(new QLabel(QStringLiteral("右："), marginBox), 1, 2);
    margins->addWidget(spnRight, 1, 3);
    auto* tableBox = new QGroupBox(QStringLiteral("表格"), page);
    auto* table = new QFormLayout(tableBox);
    table->addRow(QStringLiteral("每页行数："), spnRows);
    table->addRow(QStringLiteral("行高："), spnRowHeight);
    table->addRow(QStringLiteral("固定列数："), spnFixCols);
    auto* flags = new QGridLayout;
    flags->addWidget(chkZero, 0, 0);
    flags->addWidget(chkThousand, 0, 1);
    flags->addWidget(chkPageHead, 1, 0);
    flags->addWidget(chkPageFoot, 1, 1);
    table->addRow(flags);

    spnForms = countBox(page, "spnForms", 50, QStringLiteral("自动"));
    spnFormDist = mmBox(page, "spnFormDist", 100);
    spnSalaryHeight = new QDoubleSpinBox(page);
    spnSalaryHeight->setObjectName("spnSalaryHeight");
    spnSalaryHeight->setRange(0, 30);
    spnSalaryHeight->setDecimals(1);
    spnSalaryHeight->setSuffix(QStringLiteral(" 厘米"));
    auto* slipBox = new QGroupBox(QStringLiteral("工资单"), page);
    auto* slip = new QFormLayout(slipBox);
    slip->addRow(QStringLiteral("每页张数："), spnForms);
    slip->addRow(QStringLiteral("间距："), spnFormDist);
    slip->addRow(QStringLiteral("每张高度："), spnSalaryHeight);
    slipBox->setEnabled(job.payslips());

    auto* pageLayout = new QGridLayout(page);
    pageLayout->addWidget(paperBox, 0, 0);
    pageLayout->addWidget(marginBox, 1, 0);
    pageLayout->addWidget(tableBox, 0, 1, 2, 1);
    pageLayout->addWidget(slipBox, 2, 0);
    pageLayout->setRowStretch(3, 1);
    tabs->addTab(page, QStringLiteral("页面"));

    // 字体: the column headings and the data.
    auto* fonts = new QWidget(tabs);
    cmbHeadFace = faceBox(fonts, "cmbHeadFace");
    cmbDataFace = faceBox(fonts, "cmbDataFace");
    spnHeadSize = sizeBox(fonts, 9);
    spnHeadSize->setObjectName("spnHeadSize");
    spnDataSize = sizeBox(fonts, 9);
    spnDataSize->setObjectName("spnDataSize");
    chkHeadBold = new QCheckBox(QStringLiteral("粗体"), fonts);
    chkHeadBold->setObjectName("chkHeadBold");
    chkDataBold = new QCheckBox(QStringLiteral("粗体"), fonts);
    chkDataBold->setObjectName("chkDataBold");
    auto* fontLayout = new QGridLayout(fonts);
    fontLayout->addWidget(new QLabel(QStringLiteral("栏目标题："), fonts), 0, 0);
    fontLayout->addWidget(cmbHeadFace, 0, 1);
    fontLayout->addWidget(spnHeadSize, 0, 2);
    fontLayout->addWidget(new QLabel(QStringLiteral("磅"), fonts), 0, 3);
    fontLayout->addWidget(chkHeadBold, 0, 4);
    fontLayout->addWidget(new QLabel(QStringLiteral("表格数据："), fonts), 1, 0);
    fontLayout->addWidget(cmbDataFace, 1, 1);
    fontLayout->addWidget(spnDataSize, 1, 2);
    fontLayout->addWidget(new QLabel(QStringLiteral("磅"), fonts), 1, 3);
    fontLayout->addWidget(chkDataBold, 1, 4);
    fontLayout->setRowStretch(2, 1);
    fontLayout->setColumnStretch(5, 1);
    tabs->addTab(fonts, QStringLiteral("字体"));

    // 栏目: the columns the screen prints.
    tblColumns = new QTableWidget(0, 4, tabs);
    tblColumns->setObjectName("tblColumns");
    tblColumns->setHorizontalHeaderLabels(
        {QStringLiteral("栏目"), QStringLiteral("打印"), QStringLiteral("宽度"), QStringLiteral("对齐")});
    tblColumns->verticalHeader()->hide();
    tblColumns->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tabs->addTab(tblColumns, QStringLiteral("栏目"));

    // 页眉页脚.
    auto* lines = new QWidget(tabs);
    tblHeads = linesTable("tblHeads");
    tblFoots = linesTable("tblFoots");
    auto* addHead = new QPushButton(QStringLiteral("增加页眉行"), lines);
    addHead->setObjectName("cmdAddHead");
    auto* addFoot = new QPushButton(QStringLiteral("增加页脚行"), lines);
    addFoot->setObjectName("cmdAddFoot");
    auto* linesLayout = new QGridLayout(lines);
    linesLayout->addWidget(new QLabel(QStringLiteral("页眉（<当前页号>、<总页号>为页号）："), lines), 0, 0);
    linesLayout->addWidget(addHead, 0, 1);
    linesLayout->addWidget(tblHeads, 1, 0, 1, 2);
    linesLayout->addWidget(new QLabel(QStringLiteral("页脚："), lines), 2, 0);
    linesLayout->addWidget(addFoot, 2, 1);
    linesLayout->addWidget(tblFoots, 3, 0, 1, 2);
    tabs->addTab(lines, QStringLiteral("页眉页脚"));
    connect(addHead, &QPushButton::clicked, this, [this] { addLine(tblHeads); });
    connect(addFoot, &QPushButton::clicked, this, [this] { addLine(tblFoots); });

    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(box);
    connect(cmdOk, &QPushButton::clicked, this, &frmPrintSetup::confirm);

    fill(stored_);
    resize(640, 460);
}

QTableWidget* frmPrintSetup::linesTable(const char* name) {
    auto* t = new QTableWidget(0, 5, this);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels({QStringLiteral("内容"), QStringLiteral("打印"), QStringLiteral("对齐"),
                                  QStringLiteral("字号"), QStringLiteral("间距(毫米)")});
    t->verticalHeader()->hide();
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return t;
}

void frmPrintSetup::appendLine(QTableWidget* t, const PrintLine& l) {
    const int r = t->rowCount();
    t->insertRow(r);
    t->setItem(r, 0, new QTableWidgetItem(qs(l.content)));
    t->setItem(r, 1, checkItem(l.visible));
    t->setCellWidget(r, 2, alignBox(t, l.align));
    t->setCellWidget(r, 3, sizeBox(t, FontSpec::parse(l.font).size));
    auto* dist = new QDoubleSpinBox(t);
    dist->setRange(0, 100);
    dist->setDecimals(1);
    dist->setValue(l.dist);
    t->setCellWidget(r, 4, dist);
}

void frmPrintSetup::fillLines(QTableWidget* t, const std::vector<PrintLine>& shown) {
    t->setRowCount(0);
    for (const PrintLine& l : shown)
        appendLine(t, l);
}

void frmPrintSetup::addLine(QTableWidget* t) {
    appendLine(t, kNewLine);
    t->setCurrentCell(t->rowCount() - 1, 0);
}

std::vector<PrintLine> frmPrintSetup::readLines(const QTableWidget* t, const std::vector<PrintLine>& stored,
                                                const std::vector<PrintLine>& shown) const {
    std::vector<PrintLine> out;
    for (int r = 0; r < t->rowCount(); ++r) {
        const bool known = r < static_cast<int>(stored.size());
        PrintLine l = known ? stored[static_cast<std::size_t>(r)] : kNewLine;
        const std::string typed = ss(t->item(r, 0)->text());
        if (known)
            setLineText(l, shown[static_cast<std::size_t>(r)].content, typed);
        else
            l.content = typed;
        l.visible = t->item(r, 1)->checkState() == Qt::Checked;
        l.align = cell<QComboBox>(t, r, 2)->currentIndex();
        const FontSpec f = FontSpec::parse(l.font);
        l.font = fontWith(l.font, qs(f.face), cell<QDoubleSpinBox>(t, r, 3)->value(), f.bold);
        l.dist = cell<QDoubleSpinBox>(t, r, 4)->value();
        // A new line left empty is not kept.
        if (!known && trim(typed).empty())
            continue;
        out.push_back(l);
    }
    return out;
}

void frmPrintSetup::fill(const PrintProject& p) {
    int paper = 0;
    for (int i = 0; i < static_cast<int>(std::size(kPapers)); ++i)
        if (kPapers[i].width == p.paperWidth && kPapers[i].height == p.paperHeight)
            paper = i;
    cmbPaper->setCurrentIndex(paper);
    chkLandscape->setChecked(p.landscape);
    spnTop->setValue(p.top);
    spnBottom->setValue(p.bottom);
    spnLeft->setValue(p.left);
    spnRight->setValue(p.right);
    spnRows->setValue(p.rows);
    spnRowHeight->setValue(p.rowHeight);
    spnFixCols->setValue(p.fixCols);
    chkZero->setChecked(p.zero == 1);
    chkThousand->setChecked(p.thousand);
    chkPageHead->setChecked(p.pageHead);
    chkPageFoot->setChecked(p.pageFoot);
    spnForms->setValue(p.forms);
    spnFormDist->setValue(p.formDist);
    spnSalaryHeight->setValue(p.salaryHeight);
    const FontSpec head = FontSpec::parse(p.colHeadFont), data = FontSpec::parse(p.dataFont);
    cmbHeadFace->setCurrentText(qs(head.face));
    spnHeadSize->setValue(head.size);
    chkHeadBold->setChecked(head.bold);
    cmbDataFace->setCurrentText(qs(data.face));
    spnDataSize->setValue(data.size);
    chkDataBold->setChecked(data.bold);

    // The columns the screen prints, captioned by their last heading row.
    const PrintGrid& g = job_.grid();
    tblColumns->setRowCount(0);
    const int captionRow = std::max(0, std::min(g.fixedRows, static_cast<int>(g.cells.size())) - 1);
    for (int c = 0; c < g.cols(); ++c) {
        const double gridWidth = g.colWidth(c);
        const PrintColumn* pc = p.column(c, g.code(c));
        if (gridWidth <= 0 || !pc)
            continue;
        const int r = tblColumns->rowCount();
        tblColumns->insertRow(r);
        auto* caption = new QTableWidgetItem(g.cells.empty() ? QString() : qs(g.cells[captionRow][c]));
        caption->setFlags(Qt::ItemIsEnabled);
        caption->setData(Qt::UserRole, c);
        tblColumns->setItem(r, 0, caption);
        tblColumns->setItem(r, 1, checkItem(pc->inPage == 1));
        QDoubleSpinBox* width = mmBox(tblColumns, "", 300);
        width->setMinimum(2);
        // A column that follows the screen's width shows that width.
        width->setValue(pc->width > 0 ? pc->width : gridWidth);
        tblColumns->setCellWidget(r, 2, width);
        tblColumns->setCellWidget(r, 3, alignBox(tblColumns, pc->align));
    }
    fillLines(tblHeads, shownHeads_);
    fillLines(tblFoots, shownFoots_);
}

PrintProject frmPrintSetup::fields() const {
    PrintProject p = stored_;
    const Paper& paper = kPapers[std::max(0, cmbPaper->currentIndex())];
    p.paperWidth = paper.width;
    p.paperHeight = paper.height;
    p.landscape = chkLandscape->isChecked();
    p.top = spnTop->value();
    p.bottom = spnBottom->value();
    p.left = spnLeft->value();
    p.right = spnRight->value();
    p.rows = spnRows->value();
    p.rowHeight = spnRowHeight->value();
    p.fixCols = spnFixCols->value();
    p.zero = chkZero->isChecked() ? 1 : 0;
    p.thousand = chkThousand->isChecked();
    p.pageHead = chkPageHead->isChecked();
    p.pageFoot = chkPageFoot->isChecked();
    p.forms = spnForms->value();
    p.formDist = spnFormDist->value();
    p.salaryHeight = spnSalaryHeight->value();
    p.colHeadFont = fontWith(p.colHeadFont, cmbHeadFace->currentText(), spnHeadSize->value(), chkHeadBold->isChecked());
    p.dataFont = fontWith(p.dataFont, cmbDataFace->currentText(), spnDataSize->value(), chkDataBold->isChecked());
    const PrintGrid& g = job_.grid();
    for (int r = 0; r < tblColumns->rowCount(); ++r) {
        const int c = tblColumns->item(r, 0)->data(Qt::UserRole).toInt();
        PrintColumn* pc = p.column(c, g.code(c));
        if (!pc)
            continue;
        pc->inPage = tblColumns->item(r, 1)->checkState() == Qt::Checked ? 1 : 0;
        // Only a width the user changed becomes the column's own; an
        // untouched one keeps following the screen's (an item's F_Width).
        const double shown = pc->width > 0 ? pc->width : g.colWidth(c);
        const double typed = cell<QDoubleSpinBox>(tblColumns, r, 2)->value();
        if (std::abs(typed - shown) > 0.005)
            pc->width = typed;
        pc->align = cell<QComboBox>(tblColumns, r, 3)->currentIndex();
    }
    p.heads = readLines(tblHeads, stored_.heads, shownHeads_);
    p.foots = readLines(tblFoots, stored_.foots, shownFoots_);
    return p;
}

void frmPrintSetup::confirm() {
    QtPrompt prompt(this);
    const PrintProject p = fields();
    if (const auto refused = checkPageSetup(p)) {
        applyOutcome(this, prompt, *refused);
        return;
    }
    try {
        job_.saveProject(p);
    } catch (const std::exception& e) {
        prompt.message(std::string("页面设置未能保存。\n") + e.what(), "页面设置", Icon::Critical);
        return;
    }
    accept();
}
