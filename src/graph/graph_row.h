#pragma once
// The graph's data table: rows of eight-byte slots that the owner lends to a plot.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace veltrin {

// One eight-byte slot. A row of the table occupies N+1 consecutive slots:
// slot 0 holds N (int32, first four bytes) and the row time in milliseconds
// (int32, last four bytes); slots 1..N hold one double per value column.
// The stride N+1 is taken from row 0; row times never decrease.
struct alignas(8) GraphRow {
    std::array<std::byte, 8> bytes{};

    static GraphRow Header(std::int32_t columns, std::int32_t timeMs)
    {
        GraphRow slot;
        std::memcpy(slot.bytes.data(), &columns, 4);
        std::memcpy(slot.bytes.data() + 4, &timeMs, 4);
        return slot;
    }
    static GraphRow Value(double value)
    {
        GraphRow slot;
        std::memcpy(slot.bytes.data(), &value, 8);
        return slot;
    }
    std::int32_t Columns() const { return ReadInt(0); }
    std::int32_t TimeMs() const { return ReadInt(4); }
    double AsValue() const
    {
        double value;
        std::memcpy(&value, bytes.data(), 8);
        return value;
    }

private:
    std::int32_t ReadInt(std::size_t offset) const
    {
        std::int32_t value;
        std::memcpy(&value, bytes.data() + offset, 4);
        return value;
    }
};
static_assert(sizeof(GraphRow) == 8);

// Number of slots a table of `rows` rows with `columns` value columns needs.
constexpr std::size_t GraphTableSlots(std::size_t rows, std::size_t columns)
{
    return rows * (columns + 1);
}

// Writes row `row` of `table` (stride values.size() + 1): header and values.
void WriteGraphRow(GraphRow* table, std::size_t row, std::int32_t timeMs,
                   std::span<const double> values);

// Read-only view of a borrowed table. An empty view (no rows, no table) is valid.
class GraphTable {
public:
    GraphTable() = default;
    // `rows` points at row 0 (or is null); `count` rows; negative counts mean none.
    GraphTable(const GraphRow* rows, int count);

    bool Empty() const { return count_ == 0; }
    int Count() const { return count_; }
    int Columns() const { return columns_; }  // N of row 0, 0 when empty
    const GraphRow* Data() const { return rows_; }

    std::int32_t Time(int row) const { return Slot(row, 0).TimeMs(); }
    // Value of `column` (0-based, must be inside 0..Columns()-1).
    double Value(int row, int column) const
    {
        return Slot(row, static_cast<std::size_t>(column) + 1).AsValue();
    }
    std::int32_t FirstTime() const { return Time(0); }
    std::int32_t LastTime() const { return Time(count_ - 1); }

private:
    const GraphRow& Slot(int row, std::size_t slot) const
    {
        return rows_[static_cast<std::size_t>(row) * stride_ + slot];
    }

    const GraphRow* rows_ = nullptr;
    int count_ = 0;
    int columns_ = 0;
    std::size_t stride_ = 1;
};

}  // namespace veltrin
