#pragma once

#include "model/GridLayout.h"

#include <QString>
#include <optional>

class AppPaths;

// Grid layouts are kept per section code and reporting year in
// AppPaths::GridLayoutFileName(code, year), in an INI section named by the code:
//   ColumnCount, RowHeight, and for N = 1..ColumnCount
//   ColumnN_Field, ColumnN_Width, ColumnN_Sort (-1, 0, 1), ColumnN_Visible ("1"/"0").

// Applies the saved layout and answers true when `grid` is given, the file exists and its
// section holds a complete layout of exactly the grid's columns. Otherwise answers false
// and the grid keeps its layout; a damaged file is never applied in part.
bool RestoreGridLayout(GridLayoutHost* grid, const AppPaths& paths, const QString& code,
                       const QString& year);
// Replaces the code's section with the grid's current layout; false without a grid.
// Throws DataSetError when the file cannot be written.
bool SaveGridLayout(GridLayoutHost* grid, const AppPaths& paths, const QString& code,
                    const QString& year);

// The section erased and rewritten with `layout`, the file replaced atomically.
void writeGridLayout(const QString& file, const QString& section, const GridLayout& layout);
// The layout in `section`, or nothing when the file, the section or any entry is missing
// or unreadable.
std::optional<GridLayout> readGridLayout(const QString& file, const QString& section);
