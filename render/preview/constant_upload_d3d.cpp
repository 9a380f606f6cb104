#include "render/preview/constant_upload_d3d.h"

namespace veltrace::render {

int uploadConstants(IDirect3DDevice8& device, const std::vector<ConstantUpload>& uploads) {
  int refused = 0;
  for (const ConstantUpload& upload : uploads) {
    DWORD start = static_cast<DWORD>(upload.startRegister);
    DWORD count = static_cast<DWORD>(upload.registerCount);
    HRESULT result = upload.stage == ShaderStage::vertex
                         ? device.SetVertexShaderConstant(start, upload.values.data(), count)
                         : device.SetPixelShaderConstant(start, upload.values.data(), count);
    if (FAILED(result)) ++refused;
  }
  return refused;
}

}  // namespace veltrace::render
