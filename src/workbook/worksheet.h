#pragma once

#include <QString>

#include <map>
#include <utility>
#include <variant>

namespace quorvia {

// A cell value: a text, or a number.
using CellValue = std::variant<QString, double>;

// The cells of the session worksheet, addressed by 1-based row and column. A cell written twice
// holds the value written last. Cells are kept in row-major order.
class Worksheet {
public:
    void set(int row, int column, CellValue value) {
        const std::pair<int, int> place{row, column};
        // Cells mostly come in order: one after the last is added at the end at once.
        if (cells_.empty() || cells_.rbegin()->first < place)
            cells_.emplace_hint(cells_.end(), place, std::move(value));
        else
            cells_.insert_or_assign(place, std::move(value));
    }
    void setText(int row, int column, const QString& text) { set(row, column, text); }
    void setNumber(int row, int column, double number) { set(row, column, number); }

    const CellValue* at(int row, int column) const {
        const auto it = cells_.find({row, column});
        return it == cells_.end() ? nullptr : &it->second;
    }

    const std::map<std::pair<int, int>, CellValue>& cells() const { return cells_; }
    bool isEmpty() const { return cells_.empty(); }

private:
    std::map<std::pair<int, int>, CellValue> cells_;
};

// The column's letters as a spreadsheet names them: 1 A, 26 Z, 27 AA.
QString columnLetters(int column);

} // namespace quorvia
