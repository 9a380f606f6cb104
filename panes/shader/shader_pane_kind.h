#pragma once
// The two kinds of shader pane and what differs between them in the
// portable models: the constant registers they bind and the keywords they
// colour.

#include <cstdint>

namespace veltrace {

enum class ShaderPaneKind { vertex, pixel };

// Rows of the constants list: c[0] up to the highest constant register.
constexpr int constantRegisterCount(ShaderPaneKind kind) { return kind == ShaderPaneKind::vertex ? 96 : 8; }
constexpr int highestConstantRegister(ShaderPaneKind kind) { return constantRegisterCount(kind) - 1; }

}  // namespace veltrace
