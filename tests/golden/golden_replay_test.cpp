// The golden file format itself: a record split into fields, the change-only
// encoding, and a first difference named by frame and field.
#include "golden/golden_replay.h"

#include <gtest/gtest.h>

namespace {

const std::string RECORDS =
    R"({"frame":1,"ms":1000,"tune":"a,b}","objects":{"p":{"v":0,"x":[1,2]}}})"
    "\n"
    R"({"frame":2,"ms":1020,"tune":"a,b}","objects":{"p":{"v":1,"x":[1,2]}}})"
    "\n";

TEST(GoldenFormat, SplitsTopLevelFieldsWhateverTheyHold) {
    const auto fields = golden::split_record(R"({"a":1,"b":"x\"},","c":[{"d":2}],"e":{}})");
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields.at("a"), "1");
    EXPECT_EQ(fields.at("b"), R"("x\"},")");
    EXPECT_EQ(fields.at("c"), R"([{"d":2}])");
    EXPECT_EQ(fields.at("e"), "{}");
}

TEST(GoldenFormat, PinsOnlyChangesAndReadsBackWhatItWrote) {
    const golden::Pinned pinned = golden::pin_trace(RECORDS, 0, "00ff");
    ASSERT_EQ(pinned.changes.size(), 2u);
    EXPECT_EQ(pinned.changes[0].size(), 3u);  // ms, tune, objects; frame is positional
    EXPECT_EQ(pinned.changes[1].size(), 2u);  // ms and objects changed
    golden::Pinned read;
    std::string error;
    ASSERT_TRUE(golden::read_pinned(golden::write_pinned(pinned), &read, &error)) << error;
    EXPECT_EQ(golden::first_difference(pinned, read), "");
    EXPECT_EQ(golden::to_hex(golden::from_hex("00ff10")), "00ff10");
}

TEST(GoldenFormat, NamesTheFirstDifferingFrameAndFieldThenLengthStatusAndData) {
    const golden::Pinned want = golden::pin_trace(RECORDS, 0, "00");
    std::string changed = RECORDS;
    changed.replace(changed.rfind("\"v\":1"), 5, "\"v\":2");
    EXPECT_EQ(golden::first_difference(want, golden::pin_trace(changed, 0, "00")),
              "frame 2 differs in \"objects\"");
    EXPECT_NE(golden::first_difference(want, golden::pin_trace(RECORDS.substr(0, 60), 0, "00")),
              "");
    EXPECT_EQ(golden::first_difference(want, golden::pin_trace(RECORDS, 1, "00")),
              "exit status 1, golden 0");
    EXPECT_NE(golden::first_difference(want, golden::pin_trace(RECORDS, 0, "01")), "");
    // A field the golden never pinned (added to the trace later) is not a difference.
    std::string extra = RECORDS;
    extra.replace(extra.find("\"ms\""), 4, "\"new\":5,\"ms\"");
    EXPECT_EQ(golden::first_difference(want, golden::pin_trace(extra, 0, "00")), "");
}

}  // namespace
