// Model import through the Open Asset Import Library.

#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <map>

#include "cli/scene_import.h"
#include "scene/authoring/model_contents.h"
#include "scene/authoring/model_framing.h"

namespace veltrace::cli {

namespace {

constexpr unsigned importSteps = aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_SortByPType |
                                 aiProcess_JoinIdenticalVertices | aiProcess_ValidateDataStructure;
// Normals made for a model are smoothed across edges up to this angle, so
// that the creases of hard-edged models stay sharp.
constexpr float smoothingAngleDegrees = 60.0f;

// Models come right-handed with v growing up the image (normals made for
// them outward by that rule). Scene files hold a left-handed world whose
// front faces wind counter-clockwise on screen and whose images are sampled
// top down: z is turned round, the face order kept, and v counted from the
// top. Done here, after the import steps, so that made normals turn too.
Vec3 intoSceneAxes(const aiVector3D& vector) { return {vector.x, vector.y, -vector.z}; }

Vec3 colourOf(const aiMaterial& material, const char* key, unsigned type, unsigned index, Vec3 fallback) {
  aiColor3D colour;
  if (material.Get(key, type, index, colour) != AI_SUCCESS) return fallback;
  return {colour.r, colour.g, colour.b};
}

float realOf(const aiMaterial& material, const char* key, unsigned type, unsigned index, float fallback) {
  float value = fallback;
  if (material.Get(key, type, index, value) != AI_SUCCESS) return fallback;
  return value;
}

// Texture paths keep the model's text; the scene format separates folders
// with backslashes. Embedded textures ("*0") have no file to name.
std::string texturePathOf(const aiMaterial& material, aiTextureType type) {
  aiString path;
  if (material.GetTextureCount(type) == 0 || material.GetTexture(type, 0, &path) != AI_SUCCESS) return {};
  std::string text = path.C_Str();
  if (!text.empty() && text[0] == '*') return {};
  for (char& c : text)
    if (c == '/') c = '\\';
  return text;
}

AuthoredMaterial convertMaterial(const aiMaterial& material, unsigned number) {
  AuthoredMaterial result;
  aiString name;
  result.name = material.Get(AI_MATKEY_NAME, name) == AI_SUCCESS && name.length > 0 ? std::string(name.C_Str())
                                                                                    : "Material " + std::to_string(number);
  for (char& c : result.name)
    if (c == ',') c = '.';  // names never hold commas in the program's files
  result.ambient = colourOf(material, AI_MATKEY_COLOR_AMBIENT, result.ambient);
  result.diffuse = colourOf(material, AI_MATKEY_COLOR_DIFFUSE, result.diffuse);
  result.specular = colourOf(material, AI_MATKEY_COLOR_SPECULAR, result.specular);
  result.shine = realOf(material, AI_MATKEY_SHININESS, result.shine);
  result.shineStrength = realOf(material, AI_MATKEY_SHININESS_STRENGTH, result.shineStrength);
  result.transparency = 1.0f - realOf(material, AI_MATKEY_OPACITY, 1.0f);
  result.baseMap = texturePathOf(material, aiTextureType_DIFFUSE);
  result.bumpMap = texturePathOf(material, aiTextureType_HEIGHT);
  if (result.bumpMap.empty()) result.bumpMap = texturePathOf(material, aiTextureType_NORMALS);
  result.opacityMap = texturePathOf(material, aiTextureType_OPACITY);
  return result;
}

class ModelConverter {
 public:
  ModelConverter(const aiScene& model, AuthoredScene& scene) : model_(model), scene_(scene) {
    for (unsigned i = 0; i < model.mNumMaterials; ++i) scene.materials.push_back(convertMaterial(*model.mMaterials[i], i));
    if (scene.materials.empty()) {
      scene.materials.emplace_back();
      scene.materials.back().name = "Default";
    }
  }

  void convertNode(const aiNode& node, const aiMatrix4x4& parentTransform) {
    const aiMatrix4x4 transform = parentTransform * node.mTransformation;
    AuthoredMesh mesh;
    mesh.name = node.mName.length > 0 ? node.mName.C_Str() : "Mesh " + std::to_string(scene_.meshes.size() + 1);
    std::vector<unsigned> materialsUsed;  // model materials in order of first use
    for (unsigned m = 0; m < node.mNumMeshes; ++m) {
      if (node.mMeshes[m] >= model_.mNumMeshes) continue;
      addTriangles(*model_.mMeshes[node.mMeshes[m]], transform, mesh, materialsUsed);
    }
    if (!mesh.faces.empty()) {
      mesh.materialRef = materialFor(materialsUsed, mesh.name);
      scene_.meshes.push_back(std::move(mesh));
    }
    for (unsigned c = 0; c < node.mNumChildren; ++c) convertNode(*node.mChildren[c], transform);
  }

 private:
  void addTriangles(const aiMesh& source, const aiMatrix4x4& transform, AuthoredMesh& mesh,
                    std::vector<unsigned>& materialsUsed) {
    if (!(source.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) return;
    std::int32_t materialId = 0;
    while (static_cast<size_t>(materialId) < materialsUsed.size() &&
           materialsUsed[static_cast<size_t>(materialId)] != source.mMaterialIndex)
      ++materialId;
    if (static_cast<size_t>(materialId) == materialsUsed.size()) materialsUsed.push_back(source.mMaterialIndex);

    // Normals go through the inverse transpose of the node transform.
    aiMatrix3x3 normalTransform(transform);
    normalTransform.Inverse().Transpose();
    const std::int32_t first = static_cast<std::int32_t>(mesh.positions.size());
    for (unsigned v = 0; v < source.mNumVertices; ++v) {
      aiVector3D p = transform * source.mVertices[v];
      mesh.positions.push_back(intoSceneAxes(p));
    }
    // A node that mirrors its mesh turns the faces' winding round with it:
    // the last two corners change places to keep the front faces in front.
    const bool mirrored = normalTransform.Determinant() < 0;
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
      const aiFace& face = source.mFaces[f];
      if (face.mNumIndices != 3) continue;
      AuthoredFace out;
      out.materialId = materialId;
      for (int k = 0; k < 3; ++k) {
        unsigned index = face.mIndices[k];
        if (index >= source.mNumVertices) return;
        AuthoredCorner& corner = out.corners[mirrored && k > 0 ? 3 - k : k];
        corner.vertex = first + static_cast<std::int32_t>(index);
        if (source.mNormals) {
          aiVector3D n = normalTransform * source.mNormals[index];
          n.Normalize();
          corner.normal = intoSceneAxes(n);
        }
        if (source.mTextureCoords[0]) {
          corner.u = source.mTextureCoords[0][index].x;
          corner.v = 1.0f - source.mTextureCoords[0][index].y;
        }
      }
      mesh.faces.push_back(out);
    }
  }

  // One model material: the scene material itself. Several: a material of
  // their own with one sub-material each, shared by nodes using the same
  // list.
  std::int32_t materialFor(const std::vector<unsigned>& materialsUsed, const std::string& meshName) {
    auto valid = [&](unsigned m) { return m < model_.mNumMaterials ? m : 0u; };
    if (materialsUsed.size() <= 1) return materialsUsed.empty() ? 0 : static_cast<std::int32_t>(valid(materialsUsed[0]));
    auto known = multiMaterials_.find(materialsUsed);
    if (known != multiMaterials_.end()) return known->second;
    AuthoredMaterial multi;
    multi.name = meshName + " Materials";
    multi.className = "Multi/Sub-Object";
    for (unsigned m : materialsUsed) multi.subMaterials.push_back(scene_.materials[valid(m)]);
    scene_.materials.push_back(std::move(multi));
    std::int32_t index = static_cast<std::int32_t>(scene_.materials.size() - 1);
    multiMaterials_.emplace(materialsUsed, index);
    return index;
  }

  const aiScene& model_;
  AuthoredScene& scene_;
  std::map<std::vector<unsigned>, std::int32_t> multiMaterials_;
};

// What the model holds, for the reason it is refused when nothing of it can
// be drawn.
ModelContents contentsOf(const aiScene& model) {
  ModelContents contents;
  for (unsigned m = 0; m < model.mNumMeshes; ++m) {
    const aiMesh& mesh = *model.mMeshes[m];
    // Vertices without faces are a point cloud.
    if (mesh.mNumFaces == 0 || !mesh.mFaces) contents.points += mesh.mNumVertices;
    if (!mesh.mFaces) continue;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      switch (mesh.mFaces[f].mNumIndices) {
        case 1: ++contents.points; break;
        case 2: ++contents.lines; break;
        default: ++contents.triangles; break;
      }
    }
  }
  contents.cameras = static_cast<int>(model.mNumCameras);
  contents.lights = static_cast<int>(model.mNumLights);
  contents.animations = static_cast<int>(model.mNumAnimations);
  return contents;
}

// The up axis the file's metadata names (FBX files carry it), -1 when none.
int metadataUpAxis(const aiScene& model) {
  std::int32_t axis = -1;
  if (model.mMetaData && model.mMetaData->Get("UpAxis", axis)) return axis;
  return -1;
}

std::string extensionOf(const std::string& path) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return path.substr(dot);
}

}  // namespace

bool importAvailable() { return true; }

bool importModel(const std::string& nativeModelPath, AuthoredScene& scene, std::string& problem,
                 const ImportOptions& options) {
  Assimp::Importer importer;
  importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, smoothingAngleDegrees);
  unsigned steps = importSteps;
  if (hasUntrustedNormals(extensionOf(nativeModelPath))) {
    // Made again from the faces' winding, which decides what is in front.
    importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS, aiComponent_NORMALS);
    steps |= aiProcess_RemoveComponent;
  }
  const aiScene* model = importer.ReadFile(nativeModelPath, steps);
  // The library marks a scene without meshes (cameras or animation only)
  // incomplete; it is refused for what it holds.
  if (model && (model->mFlags & AI_SCENE_FLAGS_INCOMPLETE) && model->mNumMeshes == 0) {
    problem = refusalOf(contentsOf(*model));
    return false;
  }
  if (!model || !model->mRootNode || (model->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
    problem = importer.GetErrorString();
    if (problem.empty()) problem = "the model could not be read";
    // The library's check refuses meshes without faces, as point clouds
    // are: read as it stands, such a model is refused for what it holds.
    Assimp::Importer rawImporter;
    const aiScene* raw = rawImporter.ReadFile(nativeModelPath, 0);
    if (raw && raw->mNumMeshes > 0) {
      ModelContents contents = contentsOf(*raw);
      if (contents.triangles == 0 && (contents.points > 0 || contents.lines > 0)) problem = refusalOf(contents);
    }
    return false;
  }
  scene = AuthoredScene{};
  ModelConverter converter(*model, scene);
  converter.convertNode(*model->mRootNode, aiMatrix4x4());
  if (scene.meshes.empty()) {
    ModelContents contents = contentsOf(*model);
    contents.triangles = 0;  // none of them is placed by a node
    problem = refusalOf(contents);
    return false;
  }
  if (isStillZUp(extensionOf(nativeModelPath), metadataUpAxis(*model))) turnZUpToYUp(scene);
  if (!options.keepUnits) frameForPreview(scene);
  return true;
}

}  // namespace veltrace::cli
