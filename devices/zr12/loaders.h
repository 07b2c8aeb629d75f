#pragma once

int loadDescriptionZr12();
int loadDescriptionZr24();
