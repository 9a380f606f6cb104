#pragma once
// Resource ids of the Parameter pane (block 2000-2099).

#define parameterDialog 2000
#define parameterFovField 2001
#define parameterFovArrows 2002
#define parameterNearField 2003
#define parameterNearArrows 2004
#define parameterFarField 2005
#define parameterFarArrows 2006
// Colour fields and sliders: first + colour * 3 + component, colours in the
// order ambient, diffuse, specular, components red, green, blue.
#define parameterFirstColourField 2010
#define parameterFirstColourSlider 2020
#define parameterFirstSwatch 2030
#define parameterResetView 2040
#define parameterResetLight 2041
