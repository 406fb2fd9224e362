// Zoom helpers shared by the editor and the main window, and the scale bar.

#pragma once

#include <QString>
#include <cstdint>

#include "plan/casa_plan.h"
#include "render/surface.h"

namespace casavo {

// Both zoom factors become zoom; the offsets stay.
void SetZoom(TCasaPlan& plan, double zoom);

// The zoom label: "Zoom : 100 %" for position 100.
QString ZoomLabelText(int32_t position);

// Zooms to slider position p (p / 1000 pixel per millimetre) keeping the plan
// point in the middle of the view where it was, and returns the label text.
// When the current zoom cannot locate that point (zero or less, read from a
// file), only the zoom changes. On a conversion overflow nothing changes.
QString ZoomAbout(TCasaPlan& plan, int32_t position);

// One metre of plan as a bar in the lower left corner, labelled "1 m".
void DrawScaleBar(const TCasaPlan& plan, Surface& surface);

}  // namespace casavo
