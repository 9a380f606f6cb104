vs.1.1
// a palette lookup through a0
mov a0.x, v1.x
m4x4 oPos, v0, c0
mov oD0, c[a0.x + 4]
