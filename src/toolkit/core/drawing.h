// Drawing primitives shared by the host and every control: gradient and solid
// fills, lines, rectangle borders, rounded rectangles, clip paths, clipping.
// Each makes the pens, brushes and paths it needs and deletes them before it
// returns (only the two path builders hand their path to the caller). GDI+
// failures draw nothing and are not reported.
#pragma once

#include <optional>

#include "toolkit/core/colour.h"
#include "toolkit/core/gdiplus_handles.h"
#include "toolkit/core/geometry.h"

namespace zelvo::toolkit {

// Border styles of drawBorder; any other value is the ARGB of a solid outline.
enum BorderStyle : Argb { kBorderSunken = 1, kBorderRaised = 2, kBorderSolid = 3, kBorderDashed = 4 };

// Fills (x, y, width - 1, height - 1); mode 0 horizontal, 1 vertical,
// 2 forward diagonal, 3 backward diagonal.
void fillGradient(GpGraphics* graphics, const RectF& rect, Argb colour1, Argb colour2, int mode = 1);
// Fills (x, y, width - 1, height - 1).
void fillRectangle(GpGraphics* graphics, const RectF& rect, Argb colour);
void drawLine(GpGraphics* graphics, Argb colour, float x1, float y1, float x2, float y2, float width = 1.0f);
// Style 1 sunken, 2 raised, 3 solid grey, 4 dashed (the focus rectangle),
// anything else a solid outline in that ARGB colour.
void drawBorder(GpGraphics* graphics, const RectF& rect, Argb style, std::optional<Argb> colour = std::nullopt,
                float width = 1.0f);
// Filled and/or outlined rounded rectangle; arc = twice the corner radius.
void roundRect(GpGraphics* graphics, const RectF& rect, float arc, std::optional<Argb> fillColour = std::nullopt,
               std::optional<Argb> borderColour = std::nullopt, float borderWidth = 1.0f);
PathPtr roundRectPath(const RectF& rect, float arc);
// Half a pixel wider than roundRectPath, so it covers what roundRect filled.
PathPtr roundedClipPath(const RectF& rect, float arc);
PenPtr makePen(Argb colour, float width = 1.0f);
BrushPtr makeBrush(Argb colour);

// combineMode: 0 replace, 4 exclude (GDI+ CombineMode values).
void setClipRect(GpGraphics* graphics, const RectF& rect, int combineMode = 0);
void setClipPath(GpGraphics* graphics, GpPath* path, int combineMode = 0);
void resetClip(GpGraphics* graphics);

}  // namespace zelvo::toolkit
