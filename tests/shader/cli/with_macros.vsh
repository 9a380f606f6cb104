vs.1.1
#include "include/transform.inc"
#ifdef LIT
mov oD0, LIGHT_COLOUR
#endif
#include "lighting.inc"
