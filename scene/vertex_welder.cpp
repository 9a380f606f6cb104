#include "scene/vertex_welder.h"

#include <cmath>
#include <cstring>

namespace veltrace {

namespace {

std::uint32_t floatBits(float value) {
  if (value == 0.0f) value = 0.0f;  // -0 and +0 compare equal, so they must hash alike
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::uint64_t mix(std::uint64_t state, std::uint32_t value) {
  state ^= value;
  state *= 0x9E3779B97F4A7C15ull;
  return state ^ (state >> 29);
}

bool sameKey(const SceneVertex& stored, const FileVertex& corner) {
  // Plain float comparison, no tolerance: what the linear search compared.
  return stored.position.x == corner.position.x && stored.position.y == corner.position.y &&
         stored.position.z == corner.position.z && stored.normal.x == corner.normal.x &&
         stored.normal.y == corner.normal.y && stored.normal.z == corner.normal.z && stored.u == corner.u &&
         stored.v == corner.v;
}

bool hasNaN(const FileVertex& corner) {
  return std::isnan(corner.position.x) || std::isnan(corner.position.y) || std::isnan(corner.position.z) ||
         std::isnan(corner.normal.x) || std::isnan(corner.normal.y) || std::isnan(corner.normal.z) ||
         std::isnan(corner.u) || std::isnan(corner.v);
}

constexpr size_t initialSlots = 64;

}  // namespace

std::uint32_t hashVertexKey(const Vec3& position, const Vec3& normal, float u, float v) {
  std::uint64_t state = 0x243F6A8885A308D3ull;
  for (float value : {position.x, position.y, position.z, normal.x, normal.y, normal.z, u, v})
    state = mix(state, floatBits(value));
  return static_cast<std::uint32_t>(state ^ (state >> 32));
}

VertexWelder::VertexWelder(std::vector<SceneVertex>& vertices, size_t expectedCorners) : vertices_(vertices) {
  vertices_.clear();
  // Smooth meshes weld to a fraction of their corners: room for half of
  // them keeps most meshes from ever growing the table.
  size_t slots = initialSlots;
  while (slots < expectedCorners / 2 && slots < (size_t{1} << 30)) slots *= 2;
  slots_.assign(slots, 0);
}

void VertexWelder::insert(std::uint32_t vertexIndex, std::uint32_t hash) {
  if ((used_ + 1) * 2 > slots_.size()) grow();
  size_t mask = slots_.size() - 1;
  size_t slot = hash & mask;
  while (slots_[slot] != 0) slot = (slot + 1) & mask;
  slots_[slot] = vertexIndex + 1;
  ++used_;
}

void VertexWelder::grow() {
  std::vector<std::uint32_t> old;
  old.swap(slots_);
  slots_.assign(old.size() * 2, 0);
  size_t mask = slots_.size() - 1;
  for (std::uint32_t entry : old) {
    if (entry == 0) continue;
    const SceneVertex& vertex = vertices_[entry - 1];
    size_t slot = hashVertexKey(vertex.position, vertex.normal, vertex.u, vertex.v) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = entry;
  }
}

std::uint32_t VertexWelder::weld(const FileVertex& corner) {
  const bool unmatchable = hasNaN(corner);  // a NaN never compares equal
  std::uint32_t hash = 0;
  if (!unmatchable) {
    hash = hashVertexKey(corner.position, corner.normal, corner.u, corner.v);
    size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
      std::uint32_t index = slots_[slot] - 1;
      if (sameKey(vertices_[index], corner)) return index;
    }
  }
  SceneVertex vertex;
  vertex.position = corner.position;
  vertex.normal = corner.normal;
  vertex.u = corner.u;
  vertex.v = corner.v;
  std::uint32_t index = static_cast<std::uint32_t>(vertices_.size());
  vertices_.push_back(vertex);
  if (!unmatchable) insert(index, hash);
  return index;
}

}  // namespace veltrace
