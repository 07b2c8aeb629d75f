#include "devices/zr12/loaders.h"

#include "app/loader_kit.h"

// Placeholder until the description is transcribed.
int loadDescriptionZr12() { beginDescription("ПЧ Tovik Zr12"); return 0; }
int loadDescriptionZr24() { beginDescription("ПЧ Halmer Zr24"); return 0; }
