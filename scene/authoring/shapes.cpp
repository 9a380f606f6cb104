#include "scene/authoring/shapes.h"

#include <cmath>

namespace veltrace {

namespace {

constexpr float pi = 3.14159265358979f;

Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 scale(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
Vec3 times(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 unit(Vec3 a) {
  float length = std::sqrt(dot(a, a));
  return length > 0 ? scale(a, 1.0f / length) : a;
}

// Front faces wind counter-clockwise as the preview sees them (a new effect
// culls clockwise faces), which makes (b - a) x (c - a) point into the
// surface. Each face is turned to agree with its corner normals, so the
// formulas below need not care.
void addFace(AuthoredMesh& mesh, AuthoredCorner a, AuthoredCorner b, AuthoredCorner c, std::int32_t materialId) {
  const Vec3& pa = mesh.positions[static_cast<size_t>(a.vertex)];
  const Vec3& pb = mesh.positions[static_cast<size_t>(b.vertex)];
  const Vec3& pc = mesh.positions[static_cast<size_t>(c.vertex)];
  Vec3 geometric = cross(sub(pb, pa), sub(pc, pa));
  if (dot(geometric, geometric) == 0.0f) return;  // degenerate (a pole's fan)
  Vec3 shading = add(add(a.normal, b.normal), c.normal);
  AuthoredFace face;
  face.materialId = materialId;
  face.corners[0] = a;
  face.corners[1] = dot(geometric, shading) <= 0 ? b : c;
  face.corners[2] = dot(geometric, shading) <= 0 ? c : b;
  mesh.faces.push_back(face);
}

// Two faces over the quad tl-tr-br-bl.
void addQuad(AuthoredMesh& mesh, AuthoredCorner tl, AuthoredCorner tr, AuthoredCorner br, AuthoredCorner bl,
             std::int32_t materialId) {
  addFace(mesh, bl, tl, br, materialId);
  addFace(mesh, tl, tr, br, materialId);
}

std::int32_t addPosition(AuthoredMesh& mesh, Vec3 position) {
  mesh.positions.push_back(position);
  return static_cast<std::int32_t>(mesh.positions.size() - 1);
}

// Shares the positions of a small mesh's corners.
std::int32_t sharedPosition(AuthoredMesh& mesh, Vec3 position) {
  for (size_t i = 0; i < mesh.positions.size(); ++i) {
    const Vec3& known = mesh.positions[i];
    if (known.x == position.x && known.y == position.y && known.z == position.z) return static_cast<std::int32_t>(i);
  }
  return addPosition(mesh, position);
}

}  // namespace

AuthoredMesh makeBox(std::string name, Vec3 centre, Vec3 halfSize, const std::int32_t (&sideIds)[6]) {
  struct Side {
    Vec3 normal, right, up;
  };
  // right and up as a viewer facing the side sees them.
  static const Side sides[6] = {
      {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}}, {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
      {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},
  };
  AuthoredMesh mesh;
  mesh.name = std::move(name);
  for (int s = 0; s < 6; ++s) {
    const Side& side = sides[s];
    auto corner = [&](float across, float upward, float u, float v) {
      Vec3 offset = add(side.normal, add(scale(side.right, across), scale(side.up, upward)));
      AuthoredCorner result;
      result.vertex = sharedPosition(mesh, add(centre, times(halfSize, offset)));
      result.normal = side.normal;
      result.u = u;
      result.v = v;
      return result;
    };
    addQuad(mesh, corner(-1, 1, 0, 0), corner(1, 1, 1, 0), corner(1, -1, 1, 1), corner(-1, -1, 0, 1), sideIds[s]);
  }
  return mesh;
}

AuthoredMesh makeSphere(std::string name, float radius, int slices, int stacks) {
  AuthoredMesh mesh;
  mesh.name = std::move(name);
  // Position of ring i (0 = top pole, stacks = bottom pole), slice j.
  std::vector<std::int32_t> ringStart(static_cast<size_t>(stacks) + 1);
  for (int i = 0; i <= stacks; ++i) {
    float theta = pi * static_cast<float>(i) / static_cast<float>(stacks);
    ringStart[static_cast<size_t>(i)] = static_cast<std::int32_t>(mesh.positions.size());
    int count = (i == 0 || i == stacks) ? 1 : slices;
    for (int j = 0; j < count; ++j) {
      float phi = 2 * pi * static_cast<float>(j) / static_cast<float>(slices);
      addPosition(mesh, {radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                         radius * std::sin(theta) * std::sin(phi)});
    }
  }
  std::vector<Vec3> normals;
  for (const Vec3& position : mesh.positions) normals.push_back(unit(position));
  auto corner = [&](int i, int j) {
    bool pole = i == 0 || i == stacks;
    AuthoredCorner result;
    result.vertex = ringStart[static_cast<size_t>(i)] + (pole ? 0 : j % slices);
    result.normal = normals[static_cast<size_t>(result.vertex)];
    result.u = static_cast<float>(j) / static_cast<float>(slices);
    result.v = static_cast<float>(i) / static_cast<float>(stacks);
    return result;
  };
  for (int i = 0; i < stacks; ++i)
    for (int j = 0; j < slices; ++j) addQuad(mesh, corner(i, j), corner(i, j + 1), corner(i + 1, j + 1), corner(i + 1, j), 0);
  return mesh;
}

AuthoredMesh makeTorus(std::string name, float ringRadius, float tubeRadius, int ringSegments, int tubeSegments) {
  AuthoredMesh mesh;
  mesh.name = std::move(name);
  auto normalAt = [&](int i, int j) {
    float a = 2 * pi * static_cast<float>(i) / static_cast<float>(ringSegments);
    float b = 2 * pi * static_cast<float>(j) / static_cast<float>(tubeSegments);
    return Vec3{std::cos(b) * std::cos(a), std::sin(b), std::cos(b) * std::sin(a)};
  };
  std::vector<Vec3> normals;
  for (int i = 0; i < ringSegments; ++i) {
    float a = 2 * pi * static_cast<float>(i) / static_cast<float>(ringSegments);
    Vec3 centre{ringRadius * std::cos(a), 0, ringRadius * std::sin(a)};
    for (int j = 0; j < tubeSegments; ++j) {
      normals.push_back(normalAt(i, j));
      addPosition(mesh, add(centre, scale(normals.back(), tubeRadius)));
    }
  }
  // Corners on the seams (i = ringSegments, j = tubeSegments) take the
  // normal of the point they share, computed once.
  auto corner = [&](int i, int j) {
    AuthoredCorner result;
    result.vertex = (i % ringSegments) * tubeSegments + (j % tubeSegments);
    result.normal = normals[static_cast<size_t>(result.vertex)];
    result.u = static_cast<float>(i) / static_cast<float>(ringSegments);
    result.v = static_cast<float>(j) / static_cast<float>(tubeSegments);
    return result;
  };
  for (int i = 0; i < ringSegments; ++i)
    for (int j = 0; j < tubeSegments; ++j)
      addQuad(mesh, corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1), 0);
  return mesh;
}

AuthoredMesh makeWavedGrid(std::string name, float size, int cells, int bandRows) {
  AuthoredMesh mesh;
  mesh.name = std::move(name);
  const float step = size / static_cast<float>(cells);
  const float amplitude = size * 0.02f;
  const float wave = 12 * pi / size;
  auto heightAt = [&](float x, float z) { return amplitude * std::sin(x * wave) * std::cos(z * wave); };
  auto normalAt = [&](float x, float z) {
    float dx = amplitude * wave * std::cos(x * wave) * std::cos(z * wave);
    float dz = -amplitude * wave * std::sin(x * wave) * std::sin(z * wave);
    return unit(Vec3{-dx, 1, -dz});
  };
  // Normals are worked out once per point: a corner must carry exactly its
  // point's normal for equal corners to weld, whatever precision the
  // compiler keeps intermediate values in.
  std::vector<Vec3> normals;
  mesh.positions.reserve(static_cast<size_t>(cells + 1) * static_cast<size_t>(cells + 1));
  normals.reserve(mesh.positions.capacity());
  for (int row = 0; row <= cells; ++row)
    for (int column = 0; column <= cells; ++column) {
      float x = -size / 2 + step * static_cast<float>(column);
      float z = size / 2 - step * static_cast<float>(row);
      addPosition(mesh, {x, heightAt(x, z), z});
      normals.push_back(normalAt(x, z));
    }
  auto corner = [&](int row, int column) {
    AuthoredCorner result;
    result.vertex = row * (cells + 1) + column;
    result.normal = normals[static_cast<size_t>(result.vertex)];
    result.u = static_cast<float>(column) / static_cast<float>(cells);
    result.v = static_cast<float>(row) / static_cast<float>(cells);
    return result;
  };
  mesh.faces.reserve(static_cast<size_t>(cells) * static_cast<size_t>(cells) * 2);
  for (int row = 0; row < cells; ++row) {
    std::int32_t id = bandRows > 0 ? (row / bandRows) % 2 : 0;
    for (int column = 0; column < cells; ++column)
      addQuad(mesh, corner(row, column), corner(row, column + 1), corner(row + 1, column + 1), corner(row + 1, column), id);
  }
  return mesh;
}

}  // namespace veltrace
