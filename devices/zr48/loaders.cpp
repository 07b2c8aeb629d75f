#include "devices/zr48/loaders.h"

#include "app/loader_kit.h"

// Placeholder until the description is transcribed.
int loadDescriptionZr48() { beginDescription("ПЧ Tovik Zr48"); return 0; }
int loadDescriptionZr48X() { beginDescription("ПЧ Tovik Zr48X"); return 0; }
