// The texture and stage reader on any text, and its writer on the result.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effect/component_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrace;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string programFolder = "C:\\Tool";
  Effect effect = fuzz::shippedEffect();
  parseTextureStages(effect, text, programFolder);
  fuzz::checkShape(effect);

  // Everything written reads back: as many textures, the same stage lines.
  auto lines = textureStageFileLines(effect, programFolder);
  Effect again = fuzz::shippedEffect();
  parseTextureStages(again, fuzz::joined(lines), programFolder);
  fuzz::check(again.textureStages.textures.size() == effect.textureStages.textures.size(), "texture count kept");
  auto linesAgain = textureStageFileLines(again, programFolder);
  fuzz::check(linesAgain.size() == lines.size(), "line count kept");
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].text.rfind("STAGE,", 0) == 0) fuzz::check(linesAgain[i].text == lines[i].text, "stage line kept");
  return 0;
}
