// Small geometric helpers for the scene tests, on top of gl_capture.
#pragma once

#include <cmath>
#include <numbers>

#include "tests/unit/gl_capture.h"

namespace scene_geometry {

using gl_capture::Vec3;

inline Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Degrees in (-180, 180].
inline double Wrap180(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d <= -180.0) d += 360.0;
  return d;
}

// The direction of a point about the z axis, in degrees from +x toward +y.
inline double Azimuth(Vec3 p) { return std::atan2(p.y, p.x) * 180.0 / std::numbers::pi; }

// How far a direction d is turned about the unit axis n from the reference
// direction r (both perpendicular to n), in degrees, counter-clockwise seen
// from the tip of n.
inline double AngleAbout(Vec3 n, Vec3 r, Vec3 d) {
  Vec3 s = Cross(n, r);
  return std::atan2(gl_capture::Dot(d, s), gl_capture::Dot(d, r)) * 180.0 / std::numbers::pi;
}

// The quadric's own x axis in the scene, not normalised: its length is the
// scale of that axis.
inline Vec3 SceneX(const gl_capture::QuadricCall& c) {
  return gl_capture::TransformDirection(c.SceneMatrix(), {1, 0, 0});
}
inline Vec3 SceneZ(const gl_capture::QuadricCall& c) {
  return gl_capture::TransformDirection(c.SceneMatrix(), {0, 0, 1});
}

// The centre of a cylinder: halfway along its axis.
inline Vec3 SceneCentre(const gl_capture::QuadricCall& c) {
  return c.ToScene({0, 0, c.height / 2.0});
}

}  // namespace scene_geometry
