#pragma once

#include <xcb/xcb.h>

namespace gui::detail {
// The X server's number for an atom's name (XCB_ATOM_NONE where the server does not answer).
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name);
}  // namespace gui::detail
