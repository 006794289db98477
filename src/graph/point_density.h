#pragma once
// Counts of V-n points binned into a fixed grid of air speed against vertical
// load, so that the points of many starts can be kept and drawn without
// keeping the points themselves.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrin {

// The grid's range and cells. Values outside the range count in the cells at
// its edge.
struct DensityGridShape {
    double xMin = 0.0;    // km/h
    double xMax = 500.0;  // km/h
    int columns = 1000;   // cells of 0.5 km/h
    double yMin = -12.0;  // g
    double yMax = 12.0;   // g
    int rows = 960;       // cells of 0.025 g
    bool operator==(const DensityGridShape&) const = default;
};

class PointDensity {
public:
    explicit PointDensity(const DensityGridShape& shape = {});

    // Counts the point (km/h, g), inside or beyond the envelope. Points with a
    // value that is not a number are left out.
    void Add(double ias, double accZ, bool beyond);
    // Adds the counts of `other`; false (and nothing added) when its shape differs.
    bool Merge(const PointDensity& other);

    const DensityGridShape& Shape() const { return shape_; }
    std::uint64_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // The extremes of the values counted; meaningful only when not empty.
    double MinIas() const { return minIas_; }
    double MaxIas() const { return maxIas_; }
    double MinAccZ() const { return minAccZ_; }
    double MaxAccZ() const { return maxAccZ_; }

    // The occupied cells lie in columns [FirstColumn, LastColumn] and rows
    // [FirstRow, LastRow]; the first is above the last when empty.
    int FirstColumn() const { return firstColumn_; }
    int LastColumn() const { return lastColumn_; }
    int FirstRow() const { return firstRow_; }
    int LastRow() const { return lastRow_; }
    // Counts of the cell; 0 outside the grid or when nothing was counted.
    std::uint32_t InsideAt(int column, int row) const;
    std::uint32_t BeyondAt(int column, int row) const;
    // The axis values of a cell's centre.
    double CellIas(int column) const;
    double CellAccZ(int row) const;

private:
    std::size_t CellIndex(int column, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(shape_.columns) +
               static_cast<std::size_t>(column);
    }
    void NoteCell(int column, int row);

    DensityGridShape shape_;
    double columnsPerUnit_ = 1.0, rowsPerUnit_ = 1.0;
    // Both made on the first point, so an empty density costs nothing.
    std::vector<std::uint32_t> inside_;
    std::vector<std::uint32_t> beyond_;
    std::uint64_t count_ = 0;
    double minIas_ = 0.0, maxIas_ = 0.0, minAccZ_ = 0.0, maxAccZ_ = 0.0;
    int firstColumn_ = 0, lastColumn_ = -1, firstRow_ = 0, lastRow_ = -1;
};

}  // namespace veltrin
