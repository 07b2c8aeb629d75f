#pragma once
// What the link tells the program: the lines of the exchange trace and the two failures the user
// must hear of. The program installs its sink at start-up; a part left empty, or no sink at all,
// is told nothing.

#include <functional>
#include <string_view>

struct LinkSink {
    // One line of the exchange trace.
    std::function<void(std::string_view line)> traceLine;
    // A request found the port closed or gone; `text` is portUnavailableText.
    std::function<void(std::string_view text)> portUnavailable;
    // A link buffer could not be allocated; `text` names which.
    std::function<void(std::string_view text)> bufferNotAllocated;
};

void installLinkSink(LinkSink sink);
const LinkSink& linkSink();
