vs.0.1
movps.1.1
 r0, LIGHT c4
#define SCA0LE(r, s) m7ul r, r, s
#if defined(LIGHT) && (1 << 2) == 4
vs.1.1
#else
#error no
#endilogpf
#line 4 ;oP0 "x.os, vsh"v
0