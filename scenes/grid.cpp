// The shared wall of "Harmony" and "Truth".
#include "scenes/grid.h"

#include "render/gl.h"

namespace {
constexpr double kColumnSpacing = 2 * 2.7;              // 5.4 between column centres
constexpr double kRowSpacing = 1.2 * CylinderLength;    // 6.0 between rows
constexpr double kMiddleColumn = (kGridColumns - 1) / 2.0;  // 3.5
constexpr double kMiddleRow = (kGridRows - 1) / 2.0;        // 1.0
}  // namespace

float GridSway(int row, int column) {
  return (row % 2 == column % 2) ? SwayOffset : -SwayOffset;
}

void DrawGrid(const SceneItem* items, void (*camera)(), float rowShift,
              void (*object)(float phase)) {
  for (int r = 0; r < kGridRows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      camera();
      glTranslatef(0.0f, 0.0f, GridSway(r, c));
      glTranslatef(static_cast<float>(kColumnSpacing * (c - kMiddleColumn)),
                   static_cast<float>(kRowSpacing * (r - kMiddleRow) + rowShift), 0.0f);
      object(items[GridItemIndex(r, c)].phase());
    }
  }
}
