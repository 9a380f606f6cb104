// Fuzzes the deletion agent's pass over a command block it did not write:
// it never reads past the block and only ever turns "F" and "D" into "X".

#include <cstdint>
#include <cstring>
#include <string>

#include "setup/agent/agent_pass.h"

namespace {

int pretendDone(void*, const char* path) { return path[0] == 'a' ? agentFailed : agentDone; }

void noWait(unsigned) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > AGENT_MAX_BLOCK) return 0;
  std::string block(reinterpret_cast<const char*>(data), size);
  std::string before = block;
  AgentSystem system{nullptr, pretendDone, pretendDone};
  agentRun(block.data(), static_cast<unsigned>(block.size()), &system, noWait);
  for (std::size_t i = 0; i < size; ++i)
    if (block[i] != before[i] && !(block[i] == 'X' && (before[i] == 'F' || before[i] == 'D'))) __builtin_trap();
  return 0;
}
