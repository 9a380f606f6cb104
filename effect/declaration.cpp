#include "effect/declaration.h"

namespace veltrace {

void buildDeclaration(StreamMapping& mapping) {
  auto& words = mapping.declaration;
  words.fill(0);
  size_t next = 0;
  words[next++] = vsdTokenStream | (mapping.stream & vsdStreamMask);

  std::uint32_t dataType = 0;
  for (const auto& entry : mapping.entries) {
    if (entry.dataType == "Float2") dataType = vsdTypeFloat2;
    else if (entry.dataType == "Float3") dataType = vsdTypeFloat3;
    if (entry.inputRegister < 0) continue;
    // Leave room for the end token; the five fixed entries need seven words.
    if (next + 1 >= words.size()) break;
    words[next++] = vsdTokenStreamData | (dataType << vsdDataTypeShift) |
                    (static_cast<std::uint32_t>(entry.inputRegister) & vsdRegisterMask);
  }
  words[next] = vsdTokenEnd;
}

}  // namespace veltrace
