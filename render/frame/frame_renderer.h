#pragma once
// The frame renderer: draws the scene with the effect assigned to each
// subset. Per frame: clear, begin, light marker, every subset that has an
// effect (prepare: tangent frames on first use, fixed-function transforms,
// guide lines, stream and indices, texture stage states, textures, render
// states, constants, shaders; then draw and unbind the textures), overlay
// text, end, and the after-frame hook that flushes the message log.
//
// It owns what the view owns for drawing: the subsets' device buffers, the
// material textures, the texture store, the shader cache, the light marker
// and the overlay font. Device objects go through the explicit init,
// restore, invalidate and delete steps of the device framework.

#include <d3d8.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/message_log.h"
#include "render/device/d3d_font.h"
#include "render/device/device_rules.h"
#include "render/frame/d3d_shader_device.h"
#include "render/frame/effect_shader_handles.h"
#include "render/frame/shader_cache.h"
#include "render/frame/subset_buffers.h"
#include "render/preview/light_marker.h"
#include "render/preview/preview_state.h"
#include "render/texture/d3d_texture_file.h"
#include "render/texture/texture_store.h"
#include "scene/scene_model.h"

namespace veltrace::render {

inline constexpr D3DCOLOR frameClearColour = 0xFF000032;
inline constexpr D3DCOLOR overlayTextColour = 0xFFFFFF00;
inline constexpr D3DCOLOR normalLineColour = 0xFFFFFF00;
inline constexpr D3DCOLOR tangentLineColour = 0xFFFF0000;
inline constexpr D3DCOLOR binormalLineColour = 0xFF00FF00;
inline constexpr D3DCOLOR frameNormalLineColour = 0xFF0000FF;
inline constexpr float guideLineLength = 2.0f;  // the view's vectorLength

// The fixed-function layout of the 56-byte scene vertex: position, normal,
// then u v, tangent and binormal as three texture coordinate sets.
inline constexpr DWORD sceneVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX3 | D3DFVF_TEXCOORDSIZE2(0) |
                                        D3DFVF_TEXCOORDSIZE3(1) | D3DFVF_TEXCOORDSIZE3(2);

// What the overlay text shows besides the fixed mouse help.
struct OverlayText {
  std::string deviceDescription;
  std::string frameStatistics;
  int backBufferHeight = 0;
};

class FrameRenderer {
 public:
  FrameRenderer(PreviewState& preview, MessageLog& log);
  ~FrameRenderer();
  FrameRenderer(const FrameRenderer&) = delete;
  FrameRenderer& operator=(const FrameRenderer&) = delete;

  // Device object steps, called by the view's framework overrides.
  HRESULT initDeviceObjects(IDirect3DDevice8* device, const ShaderSupport& support);
  HRESULT restoreDeviceObjects();
  HRESULT invalidateDeviceObjects();
  // Releases every device object made on the device: subset buffers,
  // material and effect textures, shaders, marker and font. The effects the
  // scene uses are marked changed so that their shaders are built again on a
  // new device.
  void deleteDeviceObjects();

  // The scene to draw (null: none). The scene and the effects its subsets
  // use must stay alive while set: detach them with setScene(nullptr). The previous scene's buffers and
  // material textures are released; the new one's buffers are made now when
  // there is a device, else with the device objects.
  void setScene(Scene* scene);
  Scene* scene() const { return scene_; }

  // One frame at the given application time (seconds).
  HRESULT render(float appTime, const OverlayText& overlay = {});

  // Forgets an effect before it is deleted: its shaders and textures are
  // released and the scene's subsets stop referring to it.
  void forgetEffect(Effect& effect);
  // New or opened workspace: every texture and shader is released.
  void releaseTexturesAndShaders();

  TextureStore& textures() { return store_; }
  ShaderCache& shaders() { return cache_; }
  // The device shader the effect's slot holds; 0 when none.
  std::uint32_t shaderHandle(const Effect& effect, ShaderKind kind) const {
    return shaderHandles_.handle(effect, kind);
  }
  const ShaderSupport& support() const { return cache_.support(); }
  IDirect3DDevice8* device() const { return device_; }

  // Runs after each frame (ended or not): the panes refresh and the message
  // log is flushed into the Messages bar.
  std::function<void()> afterFrame;

  // Subsets drawn in the last frame, and whether their preparation failed;
  // for statistics and tests.
  int subsetsDrawn() const { return subsetsDrawn_; }
  int preparationsFailed() const { return preparationsFailed_; }
  // Guide-line lists drawn in the last frame (normals count 1, tangent
  // frames 3 per subset).
  int guideListsDrawn() const { return guideListsDrawn_; }

 private:
  struct MaterialTextures {
    DeviceTexture* base = nullptr;
    DeviceTexture* bump = nullptr;
    DeviceTexture* alpha = nullptr;
    bool baseTried = false, bumpTried = false, alphaTried = false;
    std::vector<std::string> acquired;  // names to release with the scene
  };

  void forgetDeviceShaders(Effect& effect);
  void createSceneBuffers();
  void releaseSceneObjects();
  void renderScene();
  void renderSubset(MeshSubset& subset, SubsetBuffers& buffers);
  HRESULT prepareSubset(MeshSubset& subset, SubsetBuffers& buffers);
  HRESULT drawSubset(const MeshSubset& subset, const SubsetBuffers& buffers);
  void unbindTextures();
  void setGuideLineState(D3DCOLOR colour);
  HRESULT drawGuideLines(IDirect3DVertexBuffer8* lines, UINT count, D3DCOLOR colour);
  HRESULT drawTangentFrames(const MeshSubset& subset, const SubsetBuffers& buffers);
  void setFixedFunctionPreview(const MeshSubset& subset, const Effect& effect);
  HRESULT applyTextureStageStates(const Effect& effect);
  HRESULT bindTextures(const MeshSubset& subset, const Effect& effect);
  HRESULT bindMaterialTexture(const std::string& name, std::int32_t stage, DeviceTexture*& texture, bool& tried,
                              std::vector<std::string>& acquired);
  HRESULT applyRenderStates(const Effect& effect);
  HRESULT uploadEffectConstants(const MeshSubset& subset, const Effect& effect);
  void drawOverlay(const OverlayText& overlay);

  PreviewState& preview_;
  MessageLog& log_;
  IDirect3DDevice8* device_ = nullptr;  // not owned: the framework's
  D3DCAPS8 caps_{};
  D3DTextureLoader loader_{nullptr};
  TextureStore store_;
  D3DShaderDevice shaderDevice_;
  ShaderCache cache_;
  EffectShaderHandles shaderHandles_;
  LightMarker marker_;
  D3DFont font_{"Arial", 10};
  Scene* scene_ = nullptr;
  std::vector<std::vector<SubsetBuffers>> buffers_;  // per mesh, per subset
  std::map<const SceneMaterial*, MaterialTextures> materialTextures_;
  // Effect textures are acquired once per effect and path, not every frame.
  std::map<std::pair<const Effect*, std::string>, DeviceTexture*> effectTextures_;
  // Effects drawn since the device's shaders were last all released; any
  // other effect must build its shaders again when it is next drawn.
  // Compared, never followed: an effect may be gone.
  std::set<const Effect*> effectsOnThisDevice_;
  float appTime_ = 0;
  int subsetsDrawn_ = 0;
  int preparationsFailed_ = 0;
  int guideListsDrawn_ = 0;
};

}  // namespace veltrace::render
