#include "platform/gui/x11_atom.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace gui::detail {
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
}  // namespace gui::detail
