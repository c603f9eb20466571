#include "CCBackgroundTransfer.h"

#include <cstdint>
#include <map>
#include <thread>
#include <utility>

#include "NSRunLoop.h"

namespace {
// Completions wait here, on the main thread only, so that nothing they hold is touched elsewhere.
std::map<uint64_t, std::function<void(CCHTTPTransfer::Result)>>& pending() {
    static auto* map = new std::map<uint64_t, std::function<void(CCHTTPTransfer::Result)>>;
    return *map;
}
} // namespace

void ccBackgroundTransfer(CCHTTPTransfer::Request request, std::function<void(CCHTTPTransfer::Result)> done) {
    static uint64_t next = 0;
    uint64_t id = ++next;
    pending().emplace(id, std::move(done));
    std::thread([id, request = std::move(request)] {
        CCHTTPTransfer::Result result = CCHTTPTransfer::perform(request);
        ccPerformOnMainThread(
            [id, result = std::move(result)]() mutable {
                auto it = pending().find(id);
                if (it == pending().end()) return;
                auto work = std::move(it->second);
                pending().erase(it);
                work(std::move(result));
            },
            false);
    }).detach();
}
