#pragma once

// The Yv20 description: the Zr12 rows with 38 parameters added and a few rows changed.
int loadDescriptionYv20();
