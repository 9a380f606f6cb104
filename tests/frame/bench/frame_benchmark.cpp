// The frame renderer against a bare Direct3D 8 loop: a grid of about a
// million triangles drawn with one simple effect, first through the
// renderer (states, textures, constants, shader selection per subset), then
// with only the calls the draw needs, on the same buffers with the same
// shaders. The renderer's per-subset work should be overhead, not cost:
// the ratio of the two frame rates is the figure to watch.
//
// usage: frame_benchmark.exe [FRAMES]

#include <windows.h>
#include <d3d8.h>

#include <cstdio>
#include <cstdlib>

#include "effect/effect_factory.h"
#include "render/frame/frame_renderer.h"
#include "render/frame/subset_buffers.h"
#include "render/preview/constant_upload_d3d.h"
#include "render/preview/frame_move.h"
#include "render/preview/predefined_constants.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/d3d_test_device.h"

using namespace veltrace;
using namespace veltrace::render;

namespace {

constexpr int gridSide = 708;  // 2 x 707 x 707 = 999,698 triangles
constexpr UINT frameSize = 256;

MeshSubset gridSubset() {
  MeshSubset subset;
  subset.vertices.reserve(static_cast<std::size_t>(gridSide) * gridSide);
  for (int y = 0; y < gridSide; ++y)
    for (int x = 0; x < gridSide; ++x) {
      SceneVertex vertex;
      float u = static_cast<float>(x) / (gridSide - 1), v = static_cast<float>(y) / (gridSide - 1);
      vertex.position = {u * 8 - 4, v * 8 - 4, 0};
      vertex.normal = {0, 0, -1};
      vertex.u = u;
      vertex.v = v;
      subset.vertices.push_back(vertex);
    }
  for (int y = 0; y + 1 < gridSide; ++y)
    for (int x = 0; x + 1 < gridSide; ++x) {
      auto at = static_cast<std::uint32_t>(y * gridSide + x);
      auto below = at + gridSide;
      subset.indices.insert(subset.indices.end(), {at, below, at + 1, at + 1, below, below + 1});
    }
  subset.indexCount = static_cast<std::int32_t>(subset.indices.size());
  subset.triangleCount = subset.indexCount / 3;
  subset.vertexCount = static_cast<std::int32_t>(subset.vertices.size());
  return subset;
}

Effect simpleEffect(MessageLog& log) {
  Effect effect = createEffect(veltrace::test::dataFolder(), log);
  EffectVariable transform = createVariable(VariableKind::matrix);
  transform.name = "Transform";
  transform.predefined = true;
  transform.predefinedName = "transform";
  transform.vsRegister = 0;
  effect.matrices.push_back(transform);
  effect.vertexShader = {"Bench VS", "vs.1.1\nm4x4 oPos, v0, c0\nmov oD0, v3\n", true, true};
  effect.pixelShader = {"Bench PS", "ps.1.1\nmov r0, v0\n", true, true};
  effect.shadersChanged = true;
  return effect;
}

double secondsNow() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  int frames = argc > 1 ? std::atoi(argv[1]) : 30;
  if (frames < 1 || frames > 100000) {
    std::fprintf(stderr, "usage: frame_benchmark.exe [FRAMES 1..100000]\n");
    return 2;
  }
  veltrace::test::D3DTestDevice testDevice{frameSize, frameSize};
  IDirect3DDevice8* device = testDevice.device();
  if (!device) {
    std::printf("frame_benchmark: skipped, %s\n", testDevice.problem().c_str());
    return 0;
  }

  MessageLog log;
  PreviewState preview;
  Scene scene;
  scene.materials.emplace_back();
  scene.meshes.emplace_back();
  scene.meshes[0].subsets.push_back(gridSubset());
  Effect effect = simpleEffect(log);
  scene.meshes[0].subsets[0].effect = &effect;
  const int triangles = scene.meshes[0].subsets[0].triangleCount;

  double rendererFps = 0, bareFps = 0;
  {
    FrameRenderer renderer{preview, log};
    renderer.initDeviceObjects(device, {false, 1.1f});
    renderer.restoreDeviceObjects();
    renderer.setScene(&scene);
    frameMove(preview, 1.0f, std::nullopt);
    // The first frame builds the tangent frames and the shaders.
    renderer.render(0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
    for (const auto& line : log.takePending()) std::printf("log: %s\n", line.c_str());
    const std::uint32_t vertexShader = renderer.shaderHandle(effect, ShaderKind::vertex);
    const std::uint32_t pixelShader = renderer.shaderHandle(effect, ShaderKind::pixel);
    if (!vertexShader || !pixelShader) {
      std::printf("frame_benchmark: the effect's shaders could not be created\n");
      return 1;
    }

    // The bare loop: the same buffers and shaders, only what the draw needs.
    const auto& subset = scene.meshes[0].subsets[0];
    SubsetBuffers buffers;
    createSubsetBuffers(*device, subset, buffers);
    ConstantFrame constantFrame = constantFrameFrom(preview, 0);
    MaterialColours colours;
    auto bareFrame = [&] {
      device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, frameClearColour, 1.0f, 0);
      device->BeginScene();
      device->SetStreamSource(0, buffers.vertices.get(), sizeof(SceneVertex));
      device->SetIndices(buffers.indices.get(), 0);
      ConstantValue transform = predefinedValue(PredefinedConstant::transform, constantFrame, colours);
      device->SetVertexShaderConstant(0, transform.rows, 4);
      device->SetVertexShader(vertexShader);
      device->SetPixelShader(pixelShader);
      device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(subset.vertices.size()), 0,
                                   static_cast<UINT>(triangles));
      device->EndScene();
      device->Present(nullptr, nullptr, nullptr, nullptr);
    };
    bareFrame();  // uploads the second set of buffers

    // Frames alternate between the two loops, so that drift in the machine's
    // speed (other work, the driver warming up) falls on both alike.
    double rendererSeconds = 0, bareSeconds = 0;
    for (int i = 0; i < frames; ++i) {
      double start = secondsNow();
      renderer.render(static_cast<float>(i) / 60.0f);
      device->Present(nullptr, nullptr, nullptr, nullptr);
      double middle = secondsNow();
      bareFrame();
      bareSeconds += secondsNow() - middle;
      rendererSeconds += middle - start;
    }
    rendererFps = frames / rendererSeconds;
    bareFps = frames / bareSeconds;
    device->SetStreamSource(0, nullptr, 0);
    device->SetIndices(nullptr, 0);
    buffers.release();
    renderer.setScene(nullptr);
    renderer.deleteDeviceObjects();
  }

  std::printf("%-28s %10s %12s\n", "loop", "fps", "Mtri/s");
  std::printf("%-28s %10.2f %12.1f\n", "frame renderer", rendererFps, rendererFps * triangles / 1e6);
  std::printf("%-28s %10.2f %12.1f\n", "bare Direct3D 8", bareFps, bareFps * triangles / 1e6);
  std::printf("ratio renderer / bare: %.3f (%d frames of %d triangles)\n", rendererFps / bareFps, frames, triangles);
  return 0;
}
