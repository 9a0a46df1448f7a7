#pragma once

class QPainter;

namespace vexo {

// The pad's ruler strip is this many pixels high, at the top of the pad.
constexpr int kPadRulerHeight = 25;

// Draws the ruler into a canvas `width` × `height` pixels: a white strip with a grey frame, a number
// every 96 pixels with a stroke half-way between, and light grey beyond the page edge `pageEdge`.
void drawPadRuler(QPainter &painter, int width, int height, int pageEdge);

} // namespace vexo
