#include "CCBackgroundTransfer.h"

#include <utility>

#include "CCBackgroundWork.h"

void ccBackgroundTransfer(CCHTTPTransfer::Request request, std::function<void(CCHTTPTransfer::Result)> done) {
    request.isCancelled = [] { return ccIsBackgroundWorkCancelled(); };
    ccPerformInBackground<CCHTTPTransfer::Result>(
        [request = std::move(request)] { return CCHTTPTransfer::perform(request); }, std::move(done));
}
