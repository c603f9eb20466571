#pragma once
// A transfer run on a background worker whose result comes back to the main run loop (at a
// frame that does not depend on the network's latency in deterministic runs). The transfer
// stops early when background work is cancelled (exit).
#include <functional>

#include "CCHTTPTransfer.h"

void ccBackgroundTransfer(CCHTTPTransfer::Request request, std::function<void(CCHTTPTransfer::Result)> done);
