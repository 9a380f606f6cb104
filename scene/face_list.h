#pragma once
// The face list of a mesh ("*MESH_FACE_LIST") and the rules that decide which
// of its faces can be stored. The reader goes over the list three times
// (subset ids, face counts, corners); every pass sees the faces through the
// same rules, so the counts of the second pass always match what the third
// pass writes.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "scene/scene_scanner.h"

namespace veltrace {

// One "*F" line completed by its "*D" id.
struct FaceRecord {
  std::int32_t index = 0;
  std::int32_t a = 0, b = 0, c = 0;
  std::int32_t id = 0;
};

// The faces of one "*MESH_FACE_LIST", read up to a "}" token or the end. A
// face is an "*F" line (its own index, then the three vertex indices)
// followed by a "*D" id; a "*D" with no "*F" since the last one names no
// face and is passed over.
//
// The passes over a mesh's face list find it from different positions, but
// normally find the same list: it is read from the text once and held,
// keyed by where it was found.
class FaceList {
 public:
  // Finds the list from the scanner's position and leaves the position
  // behind it, as reading it would. Nothing when there is no list.
  const std::vector<FaceRecord>* find(SceneScanner& scanner);

 private:
  static constexpr size_t none = static_cast<size_t>(-1);
  size_t start_ = none;  // position just behind the keyword
  size_t end_ = 0;       // position behind the list
  std::vector<FaceRecord> faces_;
};

// Maps the "*D" ids of a mesh to its subsets, in order of first appearance.
class SubsetIds {
 public:
  // With no sub-materials, every id belongs to the one subset 0.
  explicit SubsetIds(std::int32_t subMaterialCount);

  // Gives the id a subset when it has none yet and a slot is free.
  void note(std::int32_t id);
  // The id's subset, or nothing when it got none.
  std::optional<std::int32_t> subsetOf(std::int32_t id) const;

  std::int32_t subsetCount() const;
  // The slots as the mesh records them: the ids, then -1 for free slots.
  const std::vector<std::int32_t>& slots() const { return slots_; }

 private:
  std::int32_t subMaterialCount_;
  std::vector<std::int32_t> slots_;
  std::unordered_map<std::int32_t, std::int32_t> subsetOfId_;
};

// Decides, face by face, whether a face can be stored and in which subset:
// its own index must lie inside the face count and not have been seen
// before, its vertex indices inside the vertex list, and its id must have a
// subset. Make a new filter for each pass.
class FaceFilter {
 public:
  FaceFilter(std::int32_t faceCount, std::int32_t vertexCount, const SubsetIds& ids);
  std::optional<std::int32_t> accept(const FaceRecord& face);

 private:
  std::int32_t faceCount_;
  std::int32_t vertexCount_;
  const SubsetIds& ids_;
  std::vector<bool> seen_;
};

}  // namespace veltrace
