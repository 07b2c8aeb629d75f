#pragma once

int loadDescriptionZr48();
int loadDescriptionZr48X();
