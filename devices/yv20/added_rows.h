#pragma once
// The rows the Yv20 adds to the Zr12 rows, named by the Zr12 parameter they follow, and the rows
// it gives other contents. Every one follows the register rule of the design.

#include "devices/zr12/param_entry.h"

// Groups P0 to P2.
extern const ParamEntry yv20RowsAfterP0_1_25[8];
extern const ParamEntry yv20RowsAfterP2_0_27[1];
extern const ParamEntry yv20RowsAfterP2_0_29[3];
extern const ParamEntry yv20RowsAfterP2_0_33[2];
extern const ParamEntry yv20RowsAfterP2_0_37[2];
extern const ParamEntry yv20RowsAfterP2_1_19[2];
extern const ParamEntry yv20RowsAfterP2_1_28[1];
extern const ParamEntry yv20RowsAfterP2_1_30[1];
extern const ParamEntry yv20RowP2_0_20;
extern const ParamEntry yv20RowP2_1_22;

// Groups P4 to P9.
extern const ParamEntry yv20RowsAfterP4_1_06[1];
extern const ParamEntry yv20RowsAfterP5_0_05[8];
extern const ParamEntry yv20RowsAfterP9_0_30[9];
extern const ParamEntry yv20RowP4_1_00;
extern const ParamEntry yv20RowP4_1_05;
