#include "link/link_sink.h"

#include <utility>

namespace {

LinkSink installedSink;

}  // namespace

void installLinkSink(LinkSink sink) { installedSink = std::move(sink); }

const LinkSink& linkSink() { return installedSink; }
