#pragma once

int loadDescriptionYv32();
int loadDescriptionYv33();
