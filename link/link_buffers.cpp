#include "link/link_buffers.h"

#include <new>

#include "link/link_sink.h"

namespace {

std::uint8_t* allocateZeroed(std::size_t size) { return new (std::nothrow) std::uint8_t[size](); }

void allocateOne(std::uint8_t*& buffer, LinkBufferAllocator allocate, const char* failureText)
{
    if (buffer)
        return;
    buffer = allocate(linkBufferSize);
    if (const LinkSink& sink = linkSink(); !buffer && sink.bufferNotAllocated)
        sink.bufferNotAllocated(failureText);
}

}  // namespace

void allocateLinkBuffers(LinkBufferAllocator allocate)
{
    if (!allocate)
        allocate = allocateZeroed;
    allocateOne(outgoingBuffer, allocate, outgoingBufferFailureText);
    allocateOne(incomingBuffer, allocate, incomingBufferFailureText);
}

void releaseLinkBuffers()
{
    delete[] outgoingBuffer;
    delete[] incomingBuffer;
    outgoingBuffer = nullptr;
    incomingBuffer = nullptr;
}
