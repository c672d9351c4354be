#include "calc/workgrid.h"

#include <stdexcept>

namespace gzgl::calc {

WorkGrid::WorkGrid(const std::vector<std::string>& codes, const std::vector<std::string>& captions)
    : cols_(static_cast<int>(codes.size())) {
    if (captions.size() != codes.size())
        throw std::invalid_argument("WorkGrid: one caption per code");
    cells_.reserve(codes.size() * 2);
    cells_.insert(cells_.end(), codes.begin(), codes.end());
    cells_.insert(cells_.end(), captions.begin(), captions.end());
}

int WorkGrid::addRow() {
    cells_.resize(cells_.size() + cols_);
    return rows() - 1;
}

void WorkGrid::reserveRows(int more) {
    if (more > 0)
        cells_.reserve(cells_.size() + static_cast<std::size_t>(more) * static_cast<std::size_t>(cols_));
}

int WorkGrid::columnOf(std::string_view code) const {
    for (int c = kFirstItemColumn; c < cols_; ++c)
        if (cells_[c] == code)
            return c;
    return -1;
}

} // namespace gzgl::calc
