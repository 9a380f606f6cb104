vs.1.1
mvo r0, v0
mov oPos, v99
