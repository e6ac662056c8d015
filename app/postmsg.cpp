#include "app/postmsg.h"

#include <atomic>

namespace {
// Written once on the GUI thread before any other thread exists; other
// threads only read it.
std::atomic<PostMsg *> postMsgInstance{nullptr};
} // namespace

PostMsg *PostMsg::instance()
{
    PostMsg *hub = postMsgInstance.load(std::memory_order_acquire);
    if (!hub) {
        hub = new PostMsg;
        postMsgInstance.store(hub, std::memory_order_release);
    }
    return hub;
}
