#include "panes/frame/toolbar_images.h"

namespace veltrace::panes {

// Colour letters: k black, w white, g grey, l light grey, y yellow, o ochre,
// b blue, c light blue, r red, G green, n navy; blank is transparent.
const std::vector<ui::ToolbarImage>& toolbarImages() {
  static const std::vector<ui::ToolbarImage> images = {
      {{// New workspace: a blank sheet with a folded corner
        "                ", "   kkkkkkk      ", "   kwwwwwkk     ", "   kwwwwwkwk    ", "   kwwwwwkkkk   ",
        "   kwwwwwwwwk   ", "   kwwwwwwwwk   ", "   kwwwwwwwwk   ", "   kwwwwwwwwk   ", "   kwwwwwwwwk   ",
        "   kwwwwwwwwk   ", "   kwwwwwwwwk   ", "   kwwwwwwwwk   ", "   kkkkkkkkkk   ", "                "}},
      {{// Open workspace: an open folder
        "                ", "          kkk   ", "         k   k k", "              kk", " kkk         kkk",
        "kyyykkkkkkk     ", "kyyyyyyyyyk     ", "kyyyykkkkkkkkkk ", "kyyykoooooooook ", "kyykoooooooook  ",
        "kykoooooooook   ", "kkoooooooook    ", "kkkkkkkkkkk     ", "                ", "                "}},
      {{// Save workspace: a disk
        "                ", " kkkkkkkkkkkkkk ", " kbkwwwwwwwwkbk ", " kbkwwwwwwwwkbk ", " kbkwwwwwwwwkbk ",
        " kbkwwwwwwwwkbk ", " kbbkkkkkkkkbbk ", " kbbbbbbbbbbbbk ", " kbbkkkkkkkkbbk ", " kbbkllllkllbbk ",
        " kbbkllllkllbbk ", " kbbkllllkllbbk ", "  kkkkkkkkkkkkk ", "                ", "                "}},
      {{// Load scene: a cube
        "                ", "      kkkkkkkk  ", "     kccccccckk ", "    kccccccckbk ", "   kccccccckbbk ",
        "  kkkkkkkkkbbbk ", "  kcccccccbkbbk ", "  kcccccccbkbbk ", "  kcccccccbkbbk ", "  kcccccccbkbk  ",
        "  kcccccccbkk   ", "  kcccccccbk    ", "  kkkkkkkkkk    ", "                ", "                "}},
      {{// Tangent space vectors: three coloured axes
        "                ", "    G           ", "   GGG          ", "    G           ", "    G           ",
        "    G           ", "    G           ", "    G       r   ", "    G      rr   ", "    GGGGGGrrrrr ",
        "   b        rr  ", "  b          r  ", " bb             ", "bbb             ", "                "}},
      {{// Normal vectors: yellow lines standing on a surface
        "                ", "  y    y    y   ", " yyy  yyy  yyy  ", "  y    y    y   ", "  y    y    y   ",
        "  y    y    y   ", "  y    y    y   ", "  y    y    y   ", "  y    y    y   ", "  y    y    y   ",
        "gggggggggggggggg", "gllllllllllllllg", "gggggggggggggggg", "                ", "                "}},
      {{// Help content: a question mark on a book
        "                ", "  nnnnnnnnnnn   ", "  nwwwwwwwwwnk  ", "  nwwwkkkwwwnk  ", "  nwwkwwwkwwnk  ",
        "  nwwwwwwkwwnk  ", "  nwwwwwkwwwnk  ", "  nwwwwkwwwwnk  ", "  nwwwwkwwwwnk  ", "  nwwwwwwwwwnk  ",
        "  nwwwwkwwwwnk  ", "  nwwwwwwwwwnk  ", "  nnnnnnnnnnnk  ", "   kkkkkkkkkkk  ", "                "}},
  };
  return images;
}

}  // namespace veltrace::panes
