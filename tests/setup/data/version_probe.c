/* A program that does nothing but carry a version resource. */
int start(void) { return 0; }
