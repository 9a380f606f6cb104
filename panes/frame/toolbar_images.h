#pragma once
// The toolbar's own 16 x 15 images, in the order the frame's commands name
// them: new, open, save, scene, tangent vectors, normal vectors, help.

#include <vector>

#include "ui/command_ui.h"

namespace veltrace::panes {

const std::vector<ui::ToolbarImage>& toolbarImages();

}  // namespace veltrace::panes
