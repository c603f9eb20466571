// An ad server's answer and the header of the picture it names: whatever the bytes, an answer
// either fails with a reason or names two web addresses, and a picture's size is read only from
// bytes that are there.
#include <string>

#include "AdNetworkView.h"
#include "FuzzTarget.h"

namespace {
bool isWebAddress(const std::string& url) { return url.starts_with("http://") || url.starts_with("https://"); }
} // namespace

ZORVIK_FUZZ_TARGET(adanswer) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const char* server : {"http://127.0.0.1:9/ads/mobfox?pub=1", "https://ads.example"}) {
        const AdAnswer answer = AdNetworkView::parseAnswer(bytes, server);
        if (answer.error.empty())
            FUZZ_CHECK(isWebAddress(answer.image) && isWebAddress(answer.link));
        else
            FUZZ_CHECK(answer.link.empty());
    }
    unsigned width = 0, height = 0;
    (void)AdNetworkView::pictureSize(bytes, &width, &height);
    return 0;
}
