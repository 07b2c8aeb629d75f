#include "devices/yv20/loaders.h"

#include "app/loader_kit.h"

// Placeholder until the description is transcribed.
int loadDescriptionYv20() { beginDescription("ПЧ Tovik Yv20"); return 0; }
