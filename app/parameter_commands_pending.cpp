#include "app/parameter_commands.h"

// Reading, writing and the document commands arrive with the link and documents work.
void readAllParameters() {}
void writeAllParameters() {}
bool tableCommand(int) { return false; }
