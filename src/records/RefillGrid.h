// Placement of the picture list's items on its fixed 48-pixel grid.
#pragma once

namespace refill {

inline constexpr int kCell = 48;

// Columns beyond the first that a row of the picture grid holds for a list client width; a row
// holds GridColumns + 1 pictures, and at least one (the value is 0 or -1 for narrow lists).
inline int GridColumns(int clientWidth) { return (clientWidth - 72) / kCell; }

// Walks the grid row by row, left to right, from the top-left cell.
class GridWalker {
 public:
  explicit GridWalker(int columns) : columns_(columns) {}
  int X() const { return column_ * kCell - 20; }
  int Y() const { return row_ * kCell; }
  void Advance() {
    if (++column_ > columns_) {
      column_ = 0;
      ++row_;
    }
  }

 private:
  int columns_;
  int column_ = 0;
  int row_ = 0;
};

}  // namespace refill
