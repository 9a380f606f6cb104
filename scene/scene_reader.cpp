#include "scene/scene_reader.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "scene/material_reader.h"
#include "scene/mesh_reader.h"
#include "scene/standard_faces.h"

namespace veltrace {

namespace {

bool holdsTriangles(const Scene& scene) {
  for (const SceneMesh& mesh : scene.meshes)
    for (const MeshSubset& subset : mesh.subsets)
      if (subset.triangleCount > 0) return true;
  return false;
}

std::int32_t countMeshes(SceneScanner& scanner) {
  scanner.rewind();
  std::int32_t count = 0;
  while (scanner.find("*GEOMOBJECT")) ++count;
  scanner.rewind();
  return count;
}

// Which "*MATERIAL %i" keywords occur in the file at all. A number that
// occurs nowhere cannot be found from any position, so its search can be
// settled without scanning the file again: with many materials missing,
// searching each one through the whole file would take time quadratic in
// the file.
std::vector<bool> materialNumbersPresent(std::string_view text, std::int32_t materialCount) {
  std::vector<bool> present(static_cast<size_t>(materialCount), false);
  constexpr std::string_view prefix = "*MATERIAL ";
  for (size_t at = text.find(prefix); at != std::string_view::npos; at = text.find(prefix, at + 1)) {
    // "*MATERIAL 12" holds "*MATERIAL 1" and "*MATERIAL 12"; a leading zero
    // is the number 0 only.
    std::int64_t number = 0;
    for (size_t digit = at + prefix.size(); digit < text.size() && text[digit] >= '0' && text[digit] <= '9'; ++digit) {
      number = number * 10 + (text[digit] - '0');
      if (number >= materialCount) break;
      present[static_cast<size_t>(number)] = true;
      if (number == 0) break;
    }
  }
  return present;
}

void readMaterials(SceneScanner& scanner, Scene& scene) {
  std::int32_t count = 1;
  if (scanner.find("*MATERIAL_COUNT")) count = scanner.integer();
  count = std::clamp(count, 1, MaterialScan::maxMaterialRecords);
  scene.materials.assign(static_cast<size_t>(count), SceneMaterial{});

  MaterialScan scan;
  scan.recordsLeft -= count;
  std::vector<bool> present;  // made on the first miss: files that list every material never need it
  for (std::int32_t i = 0; i < count; ++i) {
    char keyword[32] = "*MATERIAL ";
    auto written = std::to_chars(keyword + 10, keyword + sizeof keyword - 1, i);
    *written.ptr = '\0';
    // Materials are searched in file order, each from behind the one before;
    // a missing one sends the search back to the start of the file.
    const bool mayBeThere = present.empty() || present[static_cast<size_t>(i)];
    if (mayBeThere && scanner.find(keyword)) {
      readMaterialBlock(scanner, scene.materials[static_cast<size_t>(i)], scan);
    } else {
      scanner.rewind();
      if (present.empty()) present = materialNumbersPresent(scanner.text(), count);
    }
  }
}

}  // namespace

bool readScene(SceneScanner& scanner, Scene& scene, const SceneReadOptions& options) {
  scene.meshes.clear();
  const std::int32_t meshCount = countMeshes(scanner);
  readMaterials(scanner, scene);
  scene.meshes.reserve(static_cast<size_t>(meshCount));
  for (std::int32_t k = 0; k < meshCount; ++k) {
    scene.meshes.emplace_back();
    if (!readMesh(scanner, scene, scene.meshes.back(), options.vectorLength)) return false;
  }
  return true;
}

SceneLoadOutcome loadSceneFile(std::string_view corePath, Scene& scene, MessageLog& log,
                               const SceneReadOptions& options) {
  const std::string fileName = namePart(corePath);
  scene = Scene{};
  auto scanner = SceneScanner::openFile(corePath);
  Scene loaded;
  const bool read = scanner && readScene(*scanner, loaded, options);
  // Only a file that gave no triangles is looked at again, so files that
  // load pay nothing for the check.
  if (scanner && (!read || !holdsTriangles(loaded)) && holdsOnlyStandardFaces(scanner->text())) {
    log.append(formatText(standardFacesMessage, fileName.c_str()));
    return SceneLoadOutcome::needsImport;
  }
  if (!read) {
    log.append(formatText("Failed to load Scene \"%s\" !", fileName.c_str()));
    return SceneLoadOutcome::failed;
  }
  loaded.name = fileName;
  loaded.folder = folderPart(corePath);
  if (!loaded.folder.empty() && loaded.folder.back() != '\\' && loaded.folder.back() != '/') loaded.folder += '\\';
  scene = std::move(loaded);
  log.append(formatText("Scene \"%s\" loaded successfully ...", fileName.c_str()));
  return SceneLoadOutcome::loaded;
}

bool loadScene(std::string_view corePath, Scene& scene, MessageLog& log, const SceneReadOptions& options) {
  return loadSceneFile(corePath, scene, log, options) == SceneLoadOutcome::loaded;
}

}  // namespace veltrace
