// A provider's own thread attached to a Runtime between attachThread and detachThread. While
// attached, the objects the broker makes on that thread belong to the attachment's own arena,
// freed when the thread detaches, instead of piling up in the Runtime's fallback arena: a thread
// that attaches for each piece of work holds at most one piece's objects. Attachments nest, with
// request scopes too: the newest on a thread wins. A thread detaches before it ends and before
// the Runtime ends.
#pragma once

#include "broker/runtime_state.h"

namespace cimbroker {

// Attaches the calling thread to `runtime` under `context` (the handle prepareAttachThread gave).
void attachCurrentThread(RuntimeState& runtime, const void* context);

// Ends the newest attachment of the calling thread to `runtime` under `context` and frees the
// objects made during it; false when there is none.
bool detachCurrentThread(RuntimeState& runtime, const void* context);

}  // namespace cimbroker
