// The 3D model's mesh: points, faces and what each face belongs to.

#pragma once

#include <cstdint>
#include <vector>

namespace casavo::model3d {

// A point or direction of the 3D model, in millimetres: x and y as on the plan
// (y downwards on screen), z upwards from the floor.
struct Vec3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, double k);
double Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
double Length(Vec3 a);
Vec3 Normalised(Vec3 a);

// Shoelace area of the polygon's x and y, positive when it turns from +x
// towards +y.
double SignedArea(const std::vector<Vec3>& polygon);

// How a face is drawn.
enum class Material : uint8_t { Wall, WallTop, Frame, DoorLeaf, Glass, Floor, Furniture };

// One triangle. The corners run counter-clockwise about the normal, which
// points out of the solid. kind and index name the plan element the face
// belongs to, with the plan's selection codes (a wall's face, an opening's
// frame, a room's floor, an object's box).
struct Face {
  Vec3 a, b, c;
  Vec3 normal;
  uint32_t rgb = 0;
  Material material = Material::Wall;
  uint8_t kind = 0;
  int32_t index = 0;

  double Area() const;
};

// Who the next faces added belong to and how they look.
struct Paint {
  uint32_t rgb = 0;
  Material material = Material::Wall;
  uint8_t kind = 0;
  int32_t index = 0;
};

// A triangle soup of solids and surfaces.
class Mesh {
 public:
  std::vector<Face> faces;

  // A flat polygon facing outward, its corners in either turning order;
  // nothing for a polygon without area.
  void AddPolygon(const std::vector<Vec3>& corners, Vec3 outward, const Paint& paint);
  // The quadrilateral a, b, c, d (in order around it), facing outward.
  void AddQuad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 outward, const Paint& paint);
  // A closed prism over the polygon base (x and y), from z0 to z1.
  void AddPrism(const std::vector<Vec3>& base, double z0, double z1, const Paint& paint);
  // A box: origin plus the spans along the orthogonal axes u, v, w.
  void AddBox(Vec3 origin, Vec3 u, Vec3 v, Vec3 w, const Paint& paint);

  void Append(const Mesh& other);

 private:
  void AddTriangle(Vec3 a, Vec3 b, Vec3 c, Vec3 outward, const Paint& paint);
};

}  // namespace casavo::model3d
