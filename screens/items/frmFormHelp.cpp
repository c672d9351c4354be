#include "screens/items/frmFormHelp.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmFormHelp::frmFormHelp(QWidget* parent) : QDialog(parent) {
    setObjectName("frmFormHelp");
    setWindowTitle(QStringLiteral("公式帮助"));
    auto* txtHelp = new QPlainTextEdit(text(), this);
    txtHelp->setObjectName("txtHelp");
    txtHelp->setReadOnly(true);
    auto* box = new QDialogButtonBox(this);
    QPushButton* close = box->addButton(QStringLiteral("关闭(&C)"), QDialogButtonBox::RejectRole);
    close->setObjectName("cmdClose");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtHelp);
    layout->addWidget(box);
    resize(640, 520);
}

QString frmFormHelp::text() {
    return QStringLiteral(
        "1.  不能在公式中运用没有添加的项目或项目类型定义为\"文字\"型的项目。\n\n"
        "2.  除数字0到9,小数点'.',运算符号'+','-','*','/',逻辑符号'>','<','=','>=','<=','<>','(',')','[',']','{','}'"
        "可以使用外,其余均为非法字符,不能使用。\n\n"
        "3.  要添加一项新的公式需要在待选项中先选择所需的项目将其加入已选项中，然后再进行公式输入。"
        "如果要修改某个已存在公式的项目的公式，只要点击此项目所在行并在公式输入一栏中修改，"
        "完成修改后通过\"公式添加\"将原公式覆盖即可。\n\n"
        "4.  在公式输入这一空栏中,只要输入本项目公式的内容,不需要在公式前添加\"某项目代码=\"。"
        "在输入公式完毕并确认正确无误后可以按\"添加公式\"的图标将公式正式添加进去。\n\n"
        "5.  公式的书写有一定的顺序，这个顺序是按照所要运算到的数据生成的先后顺序来确定的,对于这一点一定要注意。"
        "因为错误的顺序可能会导致数据的错误。通过\"向上移动公式\"和\"向下移动公式\"两个键可以调整公式的顺序。\n\n"
        "例如有项目：F003（应发工资），F004（津贴），F005（所得税），F006（房贴），F007（公积金），F008（卫生津贴），"
        "F000（实发工资）\n\n"
        "例1．津贴每人固定为200元：选择F004，输入公式  200\n"
        "例2．应发工资为津贴、房贴与卫生津贴之和：选择F003，输入公式  F004+F006+F008\n"
        "例3．应发工资超过800元的部分按5%计所得税，否则为0：选择F005，输入公式  {F003>800,(F003-800)*0.05,0}\n"
        "例4．津贴超过100元的人卫生津贴为50元，其余人保持原值：选择F008，输入公式  {F004>100,50}\n"
        "例5．应发工资不足1000元的人公积金保持原值，其余人按5%计算：选择F007，输入公式  {F003<1000,,F003*0.05}\n"
        "例6．实发工资为应发工资减去所得税：选择F000，输入公式  F003-F005\n");
}
