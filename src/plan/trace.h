// Where the picture to trace lies under the plan: its scale, offset and angle, and clicks turned
// into plan points.
#pragma once

#include <cstdint>
#include <string>

namespace casavo {

// A point of the plan or of the traced picture, in unrounded units: picture
// pixels and plan millimetres are both finer than the plan's whole millimetres.
struct TracePoint {
  double x = 0;
  double y = 0;
};

// The picture the user traces over (a scan or a PDF page of an existing plan)
// and where it lies under the plan. A picture pixel p lands on the plan at
// origin + R(angle) * (p * scale). An empty path means no picture.
struct TTrace {
  // As written in the plan text: relative to the plan file's folder when both
  // are local, absolute otherwise.
  std::string path;
  // Millimetres of plan per picture pixel; 0 until the user sets the scale.
  double scale = 0;
  // Plan point of the picture's top left pixel corner.
  double x = 0;
  double y = 0;
  // Degrees the picture is turned, clockwise on screen (the plan's y grows downwards).
  double angle = 0;
  // PDF page, from 0.
  int32_t page = 0;
  double opacity = 0.5;
  bool visible = true;
  bool locked = false;

  bool Present() const { return !path.empty(); }
  // The scale shown before the user sets one: a 100 dpi scan at 1:100.
  double EffectiveScale() const { return scale > 0 ? scale : kDefaultScale; }
  static constexpr double kDefaultScale = 25.4;

  TracePoint PictureToPlan(TracePoint p) const;
  TracePoint PlanToPicture(TracePoint p) const;

  // Sets the scale so that the picture points a and b lie distance
  // millimetres apart, keeping a where it is on the plan. False (nothing
  // changed) when a and b coincide or the distance is not positive.
  bool ScaleBetween(TracePoint a, TracePoint b, double distance);
  // Turns the picture by degrees (clockwise on screen) about the plan point pivot.
  void TurnAbout(TracePoint pivot, double degrees);
  // Turns the picture so that the line through picture points a and b is
  // horizontal on the plan, about a; the smaller turn of the two that do.
  void Level(TracePoint a, TracePoint b);
  void Move(double dx, double dy);
};

}  // namespace casavo
