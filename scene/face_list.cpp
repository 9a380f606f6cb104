#include "scene/face_list.h"

namespace veltrace {

const std::vector<FaceRecord>* FaceList::find(SceneScanner& scanner) {
  if (!scanner.find("*MESH_FACE_LIST")) return nullptr;
  if (scanner.save() == start_) {
    scanner.restore(end_);
    return &faces_;
  }
  start_ = scanner.save();
  faces_.clear();
  FaceRecord face;
  bool faceOpen = false;
  while (auto token = scanner.token()) {
    if (*token == "}") break;
    if (*token == "*F") {
      face.index = scanner.integer();
      face.a = scanner.integer();
      face.b = scanner.integer();
      face.c = scanner.integer();
      faceOpen = true;
    } else if (*token == "*D") {
      face.id = scanner.integer();
      if (faceOpen) faces_.push_back(face);
      faceOpen = false;
    }
  }
  end_ = scanner.save();
  return &faces_;
}

SubsetIds::SubsetIds(std::int32_t subMaterialCount)
    : subMaterialCount_(subMaterialCount > 0 ? subMaterialCount : 0) {
  if (subMaterialCount_ > 0) slots_.assign(static_cast<size_t>(subMaterialCount_), -1);
}

void SubsetIds::note(std::int32_t id) {
  if (subMaterialCount_ == 0 || subsetOfId_.count(id)) return;
  // Ids beyond the number of sub-materials find no free slot: their faces
  // cannot be stored.
  std::int32_t next = static_cast<std::int32_t>(subsetOfId_.size());
  if (next >= subMaterialCount_) return;
  slots_[static_cast<size_t>(next)] = id;
  subsetOfId_.emplace(id, next);
}

std::optional<std::int32_t> SubsetIds::subsetOf(std::int32_t id) const {
  if (subMaterialCount_ == 0) return 0;
  auto found = subsetOfId_.find(id);
  if (found == subsetOfId_.end()) return std::nullopt;
  return found->second;
}

std::int32_t SubsetIds::subsetCount() const {
  return subMaterialCount_ == 0 ? 1 : static_cast<std::int32_t>(subsetOfId_.size());
}

FaceFilter::FaceFilter(std::int32_t faceCount, std::int32_t vertexCount, const SubsetIds& ids)
    : faceCount_(faceCount), vertexCount_(vertexCount), ids_(ids), seen_(static_cast<size_t>(faceCount), false) {}

std::optional<std::int32_t> FaceFilter::accept(const FaceRecord& face) {
  if (face.index < 0 || face.index >= faceCount_) return std::nullopt;
  if (seen_[static_cast<size_t>(face.index)]) return std::nullopt;
  for (std::int32_t corner : {face.a, face.b, face.c})
    if (corner < 0 || corner >= vertexCount_) return std::nullopt;
  auto subset = ids_.subsetOf(face.id);
  if (!subset) return std::nullopt;
  seen_[static_cast<size_t>(face.index)] = true;
  return subset;
}

}  // namespace veltrace
