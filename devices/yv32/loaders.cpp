#include "devices/yv32/loaders.h"

#include "app/loader_kit.h"

// Placeholder until the description is transcribed.
int loadDescriptionYv32() { beginDescription("ПЧ Tovik Yv32"); return 0; }
int loadDescriptionYv33() { beginDescription("ПЧ Tovik Yv33"); return 0; }
