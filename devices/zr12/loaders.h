#pragma once

// The descriptions of the Zr12 and of its variant Zr24, which lacks the digital input DI1.
int loadDescriptionZr12();
int loadDescriptionZr24();
