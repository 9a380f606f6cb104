#include "render/frame/frame_renderer.h"

#include <algorithm>

#include "base/text.h"
#include "render/frame/shader_selection.h"
#include "render/frame/state_assignments.h"
#include "render/preview/constant_upload_d3d.h"
#include "render/preview/fixed_function_lighting.h"
#include "render/preview/predefined_constants.h"
#include "render/preview/preview_transforms_d3d.h"

namespace veltrace::render {

namespace {

ColourValue colourOf(const Colour& colour) { return {colour.r, colour.g, colour.b, colour.a}; }

D3DCOLORVALUE toD3DColour(const ColourValue& colour) { return {colour.r, colour.g, colour.b, colour.a}; }

D3DVECTOR toD3DVector(const Vector3& vector) { return {vector.x, vector.y, vector.z}; }

D3DLIGHT8 toD3DLight(const FixedFunctionLight& light) {
  D3DLIGHT8 result{};
  result.Type = D3DLIGHT_POINT;
  result.Diffuse = toD3DColour(light.diffuse);
  result.Specular = toD3DColour(light.specular);
  result.Ambient = toD3DColour(light.ambient);
  result.Position = toD3DVector(light.position);
  result.Range = light.range;
  result.Attenuation0 = light.attenuation0;
  result.Attenuation1 = light.attenuation1;
  result.Attenuation2 = light.attenuation2;
  return result;
}

D3DMATERIAL8 toD3DMaterial(const FixedFunctionMaterial& material) {
  D3DMATERIAL8 result{};
  result.Diffuse = toD3DColour(material.diffuse);
  result.Ambient = toD3DColour(material.ambient);
  result.Specular = toD3DColour(material.specular);
  result.Emissive = toD3DColour(material.emissive);
  result.Power = material.power;
  return result;
}

MaterialColours materialColours(const SceneMaterial& material) {
  MaterialColours colours;
  colours.ambient = colourOf(material.ambient);
  colours.diffuse = colourOf(material.diffuse);
  colours.specular = colourOf(material.specular);
  colours.emissive = colourOf(material.emissive);
  return colours;
}

// The subset's material, or the default colours for a subset that names none.
const SceneMaterial& materialOrDefault(const SceneMaterial* material) {
  static const SceneMaterial defaultMaterial;
  return material ? *material : defaultMaterial;
}

IDirect3DBaseTexture8* deviceTexture(DeviceTexture* texture) { return D3DTextureLoader::toDirect3D(texture); }

// The subset's material, or null when its indices name none (a scene without
// a material list): such a subset draws with no material textures and the
// default colours.
const SceneMaterial* materialFor(const Scene& scene, const MeshSubset& subset) {
  if (subset.materialIndex < 0 || static_cast<std::size_t>(subset.materialIndex) >= scene.materials.size())
    return nullptr;
  const SceneMaterial& material = scene.materials[static_cast<std::size_t>(subset.materialIndex)];
  if (subset.subMaterialIndex < 0) return &material;
  if (static_cast<std::size_t>(subset.subMaterialIndex) >= material.subMaterials.size()) return nullptr;
  return &material.subMaterials[static_cast<std::size_t>(subset.subMaterialIndex)];
}

}  // namespace

FrameRenderer::FrameRenderer(PreviewState& preview, MessageLog& log)
    : preview_(preview), log_(log), store_(loader_, log), cache_(shaderDevice_, log) {}

FrameRenderer::~FrameRenderer() { deleteDeviceObjects(); }

HRESULT FrameRenderer::initDeviceObjects(IDirect3DDevice8* device, const ShaderSupport& support) {
  device_ = device;
  loader_.setDevice(device);
  shaderDevice_.setDevice(device);
  cache_.setSupport(support);
  device_->GetDeviceCaps(&caps_);
  HRESULT result = font_.initDeviceObjects(device);
  if (FAILED(result)) return result;
  initialiseLight(preview_);
  std::string error;
  result = marker_.create(*device, error);
  if (FAILED(result)) log_.append(error);
  createSceneBuffers();
  return D3D_OK;
}

HRESULT FrameRenderer::restoreDeviceObjects() { return device_ ? font_.restoreDeviceObjects() : D3D_OK; }

HRESULT FrameRenderer::invalidateDeviceObjects() { return device_ ? font_.invalidateDeviceObjects() : D3D_OK; }

void FrameRenderer::deleteDeviceObjects() {
  if (!device_) return;
  // Nothing may still be bound when the device goes: bound objects hold
  // references of their own.
  device_->SetStreamSource(0, nullptr, 0);
  device_->SetIndices(nullptr, 0);
  unbindTextures();
  device_->SetVertexShader(D3DFVF_XYZ);
  device_->SetPixelShader(0);
  releaseSceneObjects();
  releaseTexturesAndShaders();
  if (scene_) {
    for (auto& mesh : scene_->meshes)
      for (auto& subset : mesh.subsets)
        if (subset.effect) forgetDeviceShaders(*subset.effect);
  }
  marker_.destroy();
  font_.deleteDeviceObjects();
  device_ = nullptr;
  loader_.setDevice(nullptr);
  shaderDevice_.setDevice(nullptr);
}

void FrameRenderer::forgetDeviceShaders(Effect& effect) {
  shaderHandles_.forget(effect);
  effect.shadersChanged = true;
}

void FrameRenderer::setScene(Scene* scene) {
  releaseSceneObjects();
  scene_ = scene;
  if (device_) createSceneBuffers();
}

void FrameRenderer::createSceneBuffers() {
  buffers_.clear();
  if (!scene_ || !device_) return;
  buffers_.resize(scene_->meshes.size());
  for (std::size_t m = 0; m < scene_->meshes.size(); ++m) {
    auto& subsets = scene_->meshes[m].subsets;
    buffers_[m].resize(subsets.size());
    for (std::size_t s = 0; s < subsets.size(); ++s) {
      std::string problem;
      if (!deviceTakesIndices(caps_, subsets[s], problem)) {
        log_.append(problem);
        continue;
      }
      HRESULT result = createSubsetBuffers(*device_, subsets[s], buffers_[m][s]);
      if (result == D3DERR_INVALIDCALL)
        log_.append(formatText("Subset %d of mesh %d has indices beyond its vertices - it is not drawn",
                               static_cast<int>(s + 1), static_cast<int>(m + 1)));
      else if (FAILED(result))
        log_.append(formatText("No device buffers for subset %d of mesh %d - it is not drawn", static_cast<int>(s + 1),
                               static_cast<int>(m + 1)));
    }
  }
}

void FrameRenderer::releaseSceneObjects() {
  for (auto& mesh : buffers_)
    for (auto& buffers : mesh) buffers.release();
  buffers_.clear();
  // Material textures were acquired once per material; give those uses back.
  for (auto& [material, textures] : materialTextures_)
    for (const std::string& name : textures.acquired) store_.release(name);
  materialTextures_.clear();
}

void FrameRenderer::releaseTexturesAndShaders() {
  materialTextures_.clear();
  effectTextures_.clear();
  store_.releaseAll();
  cache_.releaseAll();
  shaderHandles_.clear();
  // Effects outside the scene still count their shaders as built; they are
  // marked changed when they are next drawn.
  effectsOnThisDevice_.clear();
}

void FrameRenderer::forgetEffect(Effect& effect) {
  releaseEffectShaders(effect, shaderHandles_, cache_);
  // Nothing of the effect may stay behind: another effect may come to live
  // at its address.
  shaderHandles_.forget(effect);
  effectsOnThisDevice_.erase(&effect);
  for (auto at = effectTextures_.begin(); at != effectTextures_.end();) {
    if (at->first.first == &effect) {
      if (at->second) store_.release(at->first.second);
      at = effectTextures_.erase(at);
    } else {
      ++at;
    }
  }
  if (scene_) veltrace::forgetEffect(*scene_, &effect);
}

HRESULT FrameRenderer::render(float appTime, const OverlayText& overlay) {
  appTime_ = appTime;
  subsetsDrawn_ = preparationsFailed_ = guideListsDrawn_ = 0;
  if (!device_) return D3DERR_INVALIDCALL;
  device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, frameClearColour, 1.0f, 0);
  if (SUCCEEDED(device_->BeginScene())) {
    if (preview_.showLight) marker_.draw(*device_, preview_);
    renderScene();
    if (preview_.showStats) drawOverlay(overlay);
    device_->EndScene();
  }
  if (afterFrame) afterFrame();
  return D3D_OK;
}

void FrameRenderer::renderScene() {
  if (!scene_) return;
  for (std::size_t m = 0; m < scene_->meshes.size() && m < buffers_.size(); ++m) {
    auto& subsets = scene_->meshes[m].subsets;
    for (std::size_t s = 0; s < subsets.size() && s < buffers_[m].size(); ++s)
      renderSubset(subsets[s], buffers_[m][s]);
  }
}

void FrameRenderer::renderSubset(MeshSubset& subset, SubsetBuffers& buffers) {
  if (!subset.effect) return;
  // A subset whose buffers could not be made has nothing to draw.
  if (!buffers.vertices || !buffers.indices) return;
  // The draw is attempted even when preparation stopped part-way.
  if (FAILED(prepareSubset(subset, buffers))) ++preparationsFailed_;
  drawSubset(subset, buffers);
  unbindTextures();
}

HRESULT FrameRenderer::prepareSubset(MeshSubset& subset, SubsetBuffers& buffers) {
  Effect& effect = *subset.effect;
  if (!buffers.framesBuilt) buildTangentFrameBuffers(*device_, subset, guideLineLength, buffers);

  // Fixed-function vertex processing needs the transforms: on a device
  // without vertex shaders, and for an effect that has no vertex shader.
  if (!cache_.support().hardwareVertexShaders || !effect.vertexShader.present)
    setPreviewTransforms(*device_, preview_);

  if (preview_.vectorDisplay & vectorDisplayNormalsMask) {
    drawGuideLines(buffers.normalLines.get(), static_cast<UINT>(subset.vertices.size()), normalLineColour);
  } else if (buffers.framesBuilt && (preview_.vectorDisplay & vectorDisplayTangentFramesMask)) {
    drawTangentFrames(subset, buffers);
  }

  HRESULT result = device_->SetStreamSource(0, buffers.vertices.get(), sizeof(SceneVertex));
  if (FAILED(result)) return result;
  result = device_->SetIndices(buffers.indices.get(), 0);
  if (FAILED(result)) return result;
  // Without a vertex shader the subset draws through fixed-function
  // processing, lit by the preview light; the effect's own states follow.
  bool fixedFunction = !effect.vertexShader.present;
  if (fixedFunction) setFixedFunctionPreview(subset, effect);
  result = applyTextureStageStates(effect);
  if (FAILED(result)) return result;
  result = bindTextures(subset, effect);
  if (FAILED(result)) return result;
  result = applyRenderStates(effect);
  if (FAILED(result)) return result;
  result = uploadEffectConstants(subset, effect);
  if (FAILED(result)) return result;
  // Fixed-function processing needs the vertex layout as a flexible vertex
  // format (a plain 0 would describe no vertex at all and draw nothing).
  // An effect first drawn on this device may count shaders as built that
  // went with an earlier device (it was outside the scene when that one went).
  if (effectsOnThisDevice_.insert(&effect).second) forgetDeviceShaders(effect);
  result = selectShaders(effect, shaderHandles_, cache_, shaderDevice_, log_);
  if (fixedFunction) device_->SetVertexShader(sceneVertexFvf);
  return result;
}

void FrameRenderer::setFixedFunctionPreview(const MeshSubset& subset, const Effect& effect) {
  const SceneMaterial& material = materialOrDefault(materialFor(*scene_, subset));
  D3DLIGHT8 light = toD3DLight(fixedFunctionLight(preview_.light));
  device_->SetLight(0, &light);
  device_->LightEnable(0, TRUE);
  D3DMATERIAL8 surface = toD3DMaterial(fixedFunctionMaterial(materialColours(material), material.shine));
  device_->SetMaterial(&surface);
  device_->SetRenderState(D3DRS_LIGHTING, TRUE);
  device_->SetRenderState(D3DRS_SPECULARENABLE, TRUE);

  // Stage 0 shows the lit colour, times the texture it receives; the stages
  // after it are off. The alpha is the lit colour's, the material's own.
  bool textured = stageZeroTextured(effect, !material.baseTexture.empty());
  device_->SetTextureStageState(0, D3DTSS_COLOROP, textured ? D3DTOP_MODULATE : D3DTOP_SELECTARG1);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, textured ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
  device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  device_->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
}

HRESULT FrameRenderer::drawSubset(const MeshSubset& subset, const SubsetBuffers& buffers) {
  if (!subset.effect) return D3D_OK;
  ++subsetsDrawn_;
  return device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(subset.vertices.size()), 0,
                                       static_cast<UINT>(subset.indices.size() / 3));
}

void FrameRenderer::unbindTextures() {
  for (DWORD stage = 0; stage < textureStageCount; ++stage) device_->SetTexture(stage, nullptr);
}

void FrameRenderer::setGuideLineState(D3DCOLOR colour) {
  setPreviewTransforms(*device_, preview_);
  device_->SetTexture(0, nullptr);
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
  device_->SetVertexShader(D3DFVF_XYZ);
  device_->SetPixelShader(0);
  device_->SetRenderState(D3DRS_TEXTUREFACTOR, colour);
}

HRESULT FrameRenderer::drawGuideLines(IDirect3DVertexBuffer8* lines, UINT count, D3DCOLOR colour) {
  if (!lines || count == 0) return D3DERR_INVALIDCALL;
  setGuideLineState(colour);
  HRESULT result = device_->SetStreamSource(0, lines, sizeof(Vec3));
  if (FAILED(result)) return result;
  ++guideListsDrawn_;
  return device_->DrawPrimitive(D3DPT_LINELIST, 0, count);
}

HRESULT FrameRenderer::drawTangentFrames(const MeshSubset& subset, const SubsetBuffers& buffers) {
  auto count = static_cast<UINT>(subset.vertices.size());
  HRESULT result = drawGuideLines(buffers.tangentLines.get(), count, tangentLineColour);
  if (SUCCEEDED(result)) result = drawGuideLines(buffers.binormalLines.get(), count, binormalLineColour);
  if (SUCCEEDED(result)) result = drawGuideLines(buffers.frameNormalLines.get(), count, frameNormalLineColour);
  return result;
}

HRESULT FrameRenderer::applyTextureStageStates(const Effect& effect) {
  for (const StateAssignment& assignment : textureStageAssignments(effect)) {
    HRESULT result = device_->SetTextureStageState(static_cast<DWORD>(assignment.stage),
                                                   static_cast<D3DTEXTURESTAGESTATETYPE>(assignment.state),
                                                   assignment.value);
    if (FAILED(result)) return result;
  }
  return D3D_OK;
}

HRESULT FrameRenderer::applyRenderStates(const Effect& effect) {
  for (const StateAssignment& assignment : renderStateAssignments(effect)) {
    HRESULT result =
        device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(assignment.state), assignment.value);
    if (FAILED(result)) return result;
  }
  return D3D_OK;
}

HRESULT FrameRenderer::bindMaterialTexture(const std::string& name, std::int32_t stage, DeviceTexture*& texture,
                                           bool& tried, std::vector<std::string>& acquired) {
  if (name.empty() || stage < 0 || stage >= textureStageCount) return D3D_OK;
  // Loaded the first time it is needed and kept with the material; a name
  // that gives no texture at all is not tried again every frame.
  if (!tried) {
    texture = store_.acquire(name);
    tried = true;
    if (texture) acquired.push_back(name);
  }
  return device_->SetTexture(static_cast<DWORD>(stage), deviceTexture(texture));
}

HRESULT FrameRenderer::bindTextures(const MeshSubset& subset, const Effect& effect) {
  const TextureStageTable& table = effect.textureStages;
  HRESULT result = D3D_OK;
  if (const SceneMaterial* material = materialFor(*scene_, subset)) {
    MaterialTextures& loaded = materialTextures_[material];
    // An effect without a vertex shader or textures of its own shows the
    // material's base texture on stage 0.
    std::int32_t baseStage = table.baseStage;
    if (!effect.vertexShader.present && baseTextureOnStageZero(effect, !material->baseTexture.empty()))
      baseStage = 0;
    result = bindMaterialTexture(material->baseTexture, baseStage, loaded.base, loaded.baseTried,
                                 loaded.acquired);
    if (SUCCEEDED(result))
      result = bindMaterialTexture(material->bumpTexture, table.bumpStage, loaded.bump, loaded.bumpTried,
                                   loaded.acquired);
    if (SUCCEEDED(result))
      result = bindMaterialTexture(material->alphaTexture, table.alphaStage, loaded.alpha, loaded.alphaTried,
                                   loaded.acquired);
    if (FAILED(result)) return result;
  }

  for (const TextureSlot& slot : table.textures) {
    if (slot.stage < 0 || slot.stage >= textureStageCount) continue;
    const std::string& path = slot.path.empty() ? slot.name : slot.path;
    auto key = std::make_pair(&effect, path);
    auto found = effectTextures_.find(key);
    if (found == effectTextures_.end()) found = effectTextures_.emplace(key, store_.acquire(path)).first;
    result = device_->SetTexture(static_cast<DWORD>(slot.stage), deviceTexture(found->second));
    if (FAILED(result)) return result;
  }
  return D3D_OK;
}

HRESULT FrameRenderer::uploadEffectConstants(const MeshSubset& subset, const Effect& effect) {
  const SceneMaterial& material = materialOrDefault(materialFor(*scene_, subset));
  MaterialColours colours = materialColours(material);
  colours.baseTextureBound = baseTextureBound(!material.baseTexture.empty(), effect.textureStages.baseStage);
  ConstantFrame frame = constantFrameFrom(preview_, appTime_);
  // Registers the device refuses are left out; the frame goes on.
  uploadConstants(*device_, constantUploads(effect, frame, colours));
  return D3D_OK;
}

void FrameRenderer::drawOverlay(const OverlayText& overlay) {
  font_.drawText(2, 0, overlayTextColour, overlay.deviceDescription);
  font_.drawText(2, 20, overlayTextColour, overlay.frameStatistics);
  auto bottom = static_cast<float>(overlay.backBufferHeight);
  font_.drawText(2, bottom - 20, overlayTextColour, "Both MouseButtons => Rotate Light");
  font_.drawText(2, bottom - 40, overlayTextColour, "Right MouseButton => Rotate World");
  font_.drawText(2, bottom - 60, overlayTextColour, "Left MouseButton => Rotate Object");
}

}  // namespace veltrace::render
