#include "render/shader/shader_diagnostics.h"

#include "base/text.h"

namespace veltrace::shader {

std::string formatDiagnostic(const Diagnostic& diagnostic) {
  return formatText("(%d): error: %s", diagnostic.line, diagnostic.text.c_str());
}

void DiagnosticList::add(int line, int column, DiagnosticCode code, std::string text) {
  if (full_) return;
  if (items_.size() >= limit) {
    items_.push_back({line, 0, DiagnosticCode::tooManyErrors, "too many errors, giving up"});
    full_ = true;
    return;
  }
  items_.push_back({line, column, code, std::move(text)});
}

}  // namespace veltrace::shader
