#include "broker/thread_attachment.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "broker/arena.h"

namespace cimbroker {
namespace {

struct Attachment {
    Attachment(RuntimeState& runtime, const void* context)
        : context(context), frame{&runtime, &arena, nullptr} {
        enterScope(frame);
    }
    ~Attachment() { leaveScope(frame); }
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    const void* context;
    Arena arena{Arena::Users::OneThread};
    ScopeFrame frame;
};

thread_local std::vector<std::unique_ptr<Attachment>> tAttachments;

}  // namespace

void attachCurrentThread(RuntimeState& runtime, const void* context) {
    tAttachments.push_back(std::make_unique<Attachment>(runtime, context));
}

bool detachCurrentThread(RuntimeState& runtime, const void* context) {
    auto found = std::find_if(tAttachments.rbegin(), tAttachments.rend(),
                              [&](const std::unique_ptr<Attachment>& attachment) {
                                  return attachment->frame.runtime == &runtime &&
                                         attachment->context == context;
                              });
    if (found == tAttachments.rend()) {
        return false;
    }
    // Out of the list first: freeing the objects may not find the attachment again.
    std::unique_ptr<Attachment> ended = std::move(*found);
    tAttachments.erase(std::next(found).base());
    return true;
}

}  // namespace cimbroker
