// The two figures PLOTCK draws through the graphics layer: concentric
// ellipses in the seven colours, and nested squares in every line style with
// labelled edges and a cursor loop that labels and marks each clicked point.
#pragma once

#include <string>

class PlotLayer;

// 41 ellipses centred at (5, 3.75), thin solid lines, colours cycling 1 to 7.
void drawEllipses(PlotLayer& layer);

// Edge labels, 28 squares (14 thick, 14 thin) and the cursor loop, which ends
// at the key "X" (the right mouse button).
void drawSquaresWithCursor(PlotLayer& layer);

// The 20-character label of a cursor point: the key's character code (I4),
// x and y (F6.3 each), blanks to fill.
std::string cursorLabel(char key, float x, float y);
