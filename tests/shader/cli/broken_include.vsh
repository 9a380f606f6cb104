vs.1.1
#include "broken.inc"
mov oPos, v0
