// The wall of three rows and eight columns that "Harmony" and "Truth" share:
// the checkerboard sway along z, the grid places and which item's phase each
// place turns by.
#pragma once

#include "scenes/skeleton.h"

constexpr int kGridRows = 3;
constexpr int kGridColumns = 8;

// The item whose phase the place (row, column) uses. Several places share an
// item, and some items serve no place.
inline int GridItemIndex(int row, int column) { return (row + 1) * (column + 1) - 1; }

// The offset of the place along the scene's z axis: the current SwayOffset
// where row and column are both even or both odd, its negative elsewhere.
float GridSway(int row, int column);

// Draws the whole wall. For every place in row order, `camera` loads the
// scene's camera, the place is swayed and moved to its centre (columns 5.4
// apart about x = 0, rows 6.0 apart about y = 0, shifted by `rowShift`), and
// `object` turns and draws the object standing there with the phase of the
// place's item.
void DrawGrid(const SceneItem* items, void (*camera)(), float rowShift,
              void (*object)(float phase));
