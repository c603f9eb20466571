#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "CCLog.h"
#include "CCTrace.h"

namespace {

TEST(Trace, WritesOneEscapedJSONObjectPerEventOnlyWhileOpen) {
    std::vector<std::string> lines;
    CCTrace::event("before"); // nothing open: dropped
    CCTrace::openSink([&](const std::string& l) { lines.push_back(l); });
    CCTrace::setFrame(12);
    CCTrace::setTime(0.2);
    CCTrace::event("alert-shown", {{"title", "Say \"hi\"\n\\"}, {"n", 3}, {"ok", true}, {"at", CGPointMake(1.5f, -2)}});
    CCTrace::event("odd", {{"v", 1.0 / 0.0}, {"c", std::string("\x01")}});
    CCTrace::close();
    CCTrace::event("after");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "{\"frame\":12,\"time\":0.2,\"event\":\"alert-shown\",\"title\":\"Say \\\"hi\\\"\\n\\\\\","
                        "\"n\":3,\"ok\":true,\"at\":[1.5,-2]}");
    EXPECT_EQ(lines[1], "{\"frame\":12,\"time\":0.2,\"event\":\"odd\",\"v\":null,\"c\":\"\\u0001\"}");

    std::string error;
    EXPECT_FALSE(CCTrace::open("/nonexistent/dir/trace.jsonl", &error));
    EXPECT_NE(error.find("cannot write the trace"), std::string::npos);
}

TEST(Trace, FieldsPassedAsACallableAreBuiltOnlyWhileSomebodyWantsThem) {
    std::vector<std::string> lines;
    int built = 0;
    auto fields = [&] {
        ++built;
        return CCTraceFields{{"n", static_cast<long long>(built)}};
    };
    EXPECT_FALSE(CCTrace::isOpen());
    CCTrace::event("closed", fields);
    EXPECT_EQ(built, 0);

    CCTrace::openSink([&](const std::string& l) { lines.push_back(l); });
    EXPECT_TRUE(CCTrace::isOpen());
    CCTrace::setFrame(3);
    CCTrace::setTime(0.05);
    CCTrace::event("open", fields);
    CCTrace::openSink(nullptr); // an empty sink closes it as well
    EXPECT_FALSE(CCTrace::isOpen());
    CCTrace::event("closed-again", fields);

    std::string path = std::string(ZORVIK_BINARY_DIR) + "/trace-callable.jsonl";
    ASSERT_TRUE(CCTrace::open(path, nullptr));
    EXPECT_TRUE(CCTrace::isOpen());
    CCTrace::event("to-file", fields);
    CCTrace::close();
    EXPECT_FALSE(CCTrace::isOpen());
    CCTrace::event("after", fields);

    EXPECT_EQ(built, 2);
    EXPECT_EQ(lines, std::vector<std::string>{"{\"frame\":3,\"time\":0.05,\"event\":\"open\",\"n\":1}"});
    std::ifstream in(path);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_NE(line.find("\"event\":\"to-file\",\"n\":2"), std::string::npos);
    std::remove(path.c_str());

    // A listener alone wants the event too.
    std::vector<std::string> heard;
    CCTrace::setListener([&](std::string_view name, const CCTraceFields&) { heard.emplace_back(name); });
    EXPECT_TRUE(CCTrace::isWanted());
    CCTrace::event("listened", fields);
    CCTrace::setListener(nullptr);
    EXPECT_FALSE(CCTrace::isWanted());
    CCTrace::event("nobody", fields);
    EXPECT_EQ(built, 3);
    EXPECT_EQ(heard, std::vector<std::string>{"listened"});
}

TEST(Trace, AFullDiskIsReportedOnceStopsTheFileAndStillReachesTheListener) {
    std::vector<std::string> logged, heard;
    CCLogSink previous = ccSetLogSink([&](const std::string& l) { logged.push_back(l); });
    CCTrace::setListener([&](std::string_view name, const CCTraceFields&) { heard.emplace_back(name); });
    std::string error;
    ASSERT_TRUE(CCTrace::open("/dev/full", &error)) << error;
    EXPECT_EQ(CCTrace::failure(), "");
    CCTrace::event("first");
    CCTrace::event("second");
    EXPECT_FALSE(CCTrace::isOpen());
    EXPECT_FALSE(CCTrace::close());
    EXPECT_EQ(CCTrace::failure(), "cannot write the trace \"/dev/full\": No space left on device");
    EXPECT_EQ(logged, std::vector<std::string>{CCTrace::failure()});
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "second"}));
    CCTrace::setListener(nullptr);
    ccSetLogSink(previous);

    // A new trace starts whole.
    CCTrace::openSink([](const std::string&) {});
    EXPECT_TRUE(CCTrace::close());
}

} // namespace
