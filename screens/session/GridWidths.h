// Column widths taken from the text a grid draws: the caption and the
// widest cell, measured in the view's own font plus the margins the style
// draws around them, so that no figure is shown cut off. Widths a user sets
// by hand are remembered per screen and column key (never by position).
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QTableView;

// A model that holds its display texts as UTF-8 strings and can lend them:
// the widest of ten thousand cells is then found without building a QString
// for each of them. Columns that answer nullptr are measured by the view.
class Utf8CellSource {
public:
    virtual ~Utf8CellSource() = default;
    virtual const std::string* utf8Cell(int row, int column) const = 0;

protected:
    Utf8CellSource() = default;
    Utf8CellSource(const Utf8CellSource&) = default;
    Utf8CellSource& operator=(const Utf8CellSource&) = default;
};

namespace gridwidths {

// The width column needs so that neither its caption nor any cell text is
// elided. Every text is estimated from cached character advances and only
// the few widest candidates are shaped in full.
int fittedWidth(const QTableView* view, int column);

// Every shown column set to its fitted width (the toolbar's column-fit
// button). A grid without rows is left alone. Widths remembered for the
// grid are forgotten: the next opening fits its own data again.
void fitColumns(QTableView* view);

} // namespace gridwidths

// The widths a user dragged, kept in QSettings under "GridWidths/" +
// screen + "/" + the column's key. Lives as a child of its view.
class ColumnWidthMemory : public QObject {
    Q_OBJECT
public:
    using KeyOf = std::function<QString(int column)>;
    ColumnWidthMemory(QTableView* view, const QString& screen, KeyOf keyOf);

    // The screen key may change with what the grid shows (the roster's modes).
    void setScreen(const QString& screen) { screen_ = screen; }
    // Sizes every shown column: the remembered width, else the wider of
    // wanted(column) and the fitted width.
    void apply(const std::function<int(int column)>& wanted);
    // The remembered width of a column, or 0.
    int remembered(int column) const;
    void forgetAll();

private:
    void sectionResized(int column, int oldSize, int newSize);
    QString settingsKey(int column) const;

    QTableView* view_;
    QString screen_;
    KeyOf keyOf_;
    bool applying_ = false;
};
