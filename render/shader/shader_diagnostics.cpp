#include "render/shader/shader_diagnostics.h"

#include "base/text.h"

namespace veltrace::shader {

std::string formatDiagnostic(const Diagnostic& diagnostic) {
  return formatText("%s(%d): error: %s", diagnostic.file.c_str(), diagnostic.line, diagnostic.text.c_str());
}

void DiagnosticList::add(int line, int column, DiagnosticCode code, std::string text) {
  add(Diagnostic{line, column, code, std::move(text), {}, 0});
}

void DiagnosticList::add(Diagnostic diagnostic) {
  if (full_) return;
  if (items_.size() >= limit) {
    items_.push_back({diagnostic.line, 0, DiagnosticCode::tooManyErrors, "too many errors, giving up",
                      std::move(diagnostic.file), diagnostic.sourceLine});
    full_ = true;
    return;
  }
  items_.push_back(std::move(diagnostic));
}

}  // namespace veltrace::shader
