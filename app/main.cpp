#include "app/program_shell.h"

int main() { return programMain(); }
