#include "devices/jx9/loaders.h"

#include "app/loader_kit.h"

// Placeholder until the description is transcribed.
int loadDescriptionJx9() { beginDescription("УПП Tovik Jx9"); return 0; }
