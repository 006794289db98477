#include "graph/point_density.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrin {

namespace {

// The cell of `value` among `cells` cells from `lo` on; the edge cells take
// what lies outside.
int CellOf(double value, double lo, double cellsPerUnit, int cells)
{
    const double at = (value - lo) * cellsPerUnit;
    if (!(at > 0.0))
        return 0;
    if (at >= cells)
        return cells - 1;
    return static_cast<int>(at);
}

}  // namespace

PointDensity::PointDensity(const DensityGridShape& shape) : shape_(shape)
{
    shape_.columns = std::max(shape_.columns, 1);
    shape_.rows = std::max(shape_.rows, 1);
    if (!(shape_.xMax > shape_.xMin))
        shape_.xMax = shape_.xMin + 1.0;
    if (!(shape_.yMax > shape_.yMin))
        shape_.yMax = shape_.yMin + 1.0;
    columnsPerUnit_ = shape_.columns / (shape_.xMax - shape_.xMin);
    rowsPerUnit_ = shape_.rows / (shape_.yMax - shape_.yMin);
}

void PointDensity::Add(double ias, double accZ, bool beyond)
{
    if (std::isnan(ias) || std::isnan(accZ))
        return;
    if (inside_.empty()) {
        const std::size_t cells = CellIndex(0, shape_.rows);
        inside_.assign(cells, 0);
        beyond_.assign(cells, 0);
    }
    const int column = CellOf(ias, shape_.xMin, columnsPerUnit_, shape_.columns);
    const int row = CellOf(accZ, shape_.yMin, rowsPerUnit_, shape_.rows);
    std::uint32_t& cell = (beyond ? beyond_ : inside_)[CellIndex(column, row)];
    if (cell < std::numeric_limits<std::uint32_t>::max())
        ++cell;
    if (count_ == 0) {
        minIas_ = maxIas_ = ias;
        minAccZ_ = maxAccZ_ = accZ;
    } else {
        minIas_ = std::min(minIas_, ias);
        maxIas_ = std::max(maxIas_, ias);
        minAccZ_ = std::min(minAccZ_, accZ);
        maxAccZ_ = std::max(maxAccZ_, accZ);
    }
    ++count_;
    NoteCell(column, row);
}

void PointDensity::NoteCell(int column, int row)
{
    if (lastColumn_ < firstColumn_) {
        firstColumn_ = lastColumn_ = column;
        firstRow_ = lastRow_ = row;
        return;
    }
    firstColumn_ = std::min(firstColumn_, column);
    lastColumn_ = std::max(lastColumn_, column);
    firstRow_ = std::min(firstRow_, row);
    lastRow_ = std::max(lastRow_, row);
}

bool PointDensity::Merge(const PointDensity& other)
{
    if (!(other.shape_ == shape_))
        return false;
    if (other.Empty())
        return true;
    if (inside_.empty()) {
        inside_.assign(other.inside_.size(), 0);
        beyond_.assign(other.beyond_.size(), 0);
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    for (int row = other.firstRow_; row <= other.lastRow_; ++row) {
        for (int column = other.firstColumn_; column <= other.lastColumn_; ++column) {
            const std::size_t i = CellIndex(column, row);
            inside_[i] = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(kMax, std::uint64_t{inside_[i]} + other.inside_[i]));
            beyond_[i] = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(kMax, std::uint64_t{beyond_[i]} + other.beyond_[i]));
        }
    }
    if (count_ == 0) {
        minIas_ = other.minIas_;
        maxIas_ = other.maxIas_;
        minAccZ_ = other.minAccZ_;
        maxAccZ_ = other.maxAccZ_;
    } else {
        minIas_ = std::min(minIas_, other.minIas_);
        maxIas_ = std::max(maxIas_, other.maxIas_);
        minAccZ_ = std::min(minAccZ_, other.minAccZ_);
        maxAccZ_ = std::max(maxAccZ_, other.maxAccZ_);
    }
    count_ += other.count_;
    NoteCell(other.firstColumn_, other.firstRow_);
    NoteCell(other.lastColumn_, other.lastRow_);
    return true;
}

std::uint32_t PointDensity::InsideAt(int column, int row) const
{
    if (inside_.empty() || column < 0 || row < 0 || column >= shape_.columns || row >= shape_.rows)
        return 0;
    return inside_[CellIndex(column, row)];
}

std::uint32_t PointDensity::BeyondAt(int column, int row) const
{
    if (beyond_.empty() || column < 0 || row < 0 || column >= shape_.columns || row >= shape_.rows)
        return 0;
    return beyond_[CellIndex(column, row)];
}

double PointDensity::CellIas(int column) const
{
    return shape_.xMin + (column + 0.5) * (shape_.xMax - shape_.xMin) / shape_.columns;
}

double PointDensity::CellAccZ(int row) const
{
    return shape_.yMin + (row + 0.5) * (shape_.yMax - shape_.yMin) / shape_.rows;
}

}  // namespace veltrin
