// Replays every golden case through zarvox-sim and names the first frame and
// field that differ from what is pinned. `golden_test --update [NAME...]`
// rewrites the pinned results instead (only for a change of behaviour that
// an issue asks for, never for a refactor).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "golden/golden_replay.h"
#include "support/measure.h"
#include "support/sim_process.h"

namespace {

const std::string GOLDEN_DIR = std::string(ZARVOX_SOURCE_DIR) + "/tests/golden/";

std::vector<golden::Case> all_cases() {
    std::string error;
    std::vector<golden::Case> cases =
        golden::read_cases(read_file_bytes(GOLDEN_DIR + "cases.txt"), &error);
    if (!error.empty()) std::cerr << error << '\n';
    return cases;
}

golden::Pinned replay(const golden::Case& c) {
    const SimRun run{.script = read_file_bytes(GOLDEN_DIR + c.name + ".keys"),  // may be empty
                     .args = c.args,
                     .play_data = c.play_data,
                     .has_play_data = c.has_play_data};
    const SimResult result = run_sim_process(run, make_scratch_dir("golden-" + c.name));
    const std::string data_path = result.dir + "/PlayData.dat";
    golden::Pinned pinned = golden::pin_trace(
        result.trace, result.status,
        std::filesystem::exists(data_path) ? to_hex(read_file_bytes(data_path)) : "none");
    std::filesystem::remove_all(result.dir);
    return pinned;
}

class Golden : public testing::TestWithParam<golden::Case> {};

}  // namespace

namespace golden {
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
}  // namespace golden

namespace {

TEST_P(Golden, ReplaysFrameForFrame) {
    const golden::Case& c = GetParam();
    golden::Pinned expected;
    std::string error;
    ASSERT_TRUE(
        golden::read_pinned(read_file_bytes(GOLDEN_DIR + c.name + ".golden"), &expected, &error))
        << c.name << ".golden: " << error;
    ASSERT_FALSE(expected.changes.empty()) << c.name << ".golden pins nothing";
    const std::string difference = golden::first_difference(expected, replay(c));
    EXPECT_EQ(difference, "") << "golden replay " << c.name;
}

INSTANTIATE_TEST_SUITE_P(golden, Golden, testing::ValuesIn(all_cases()),
                         [](const testing::TestParamInfo<golden::Case>& info) {
                             return info.param.name;
                         });

int update(int argc, char** argv) {
    for (const golden::Case& c : all_cases()) {
        if (argc > 0 && std::find(argv, argv + argc, c.name) == argv + argc) continue;
        const golden::Pinned pinned = replay(c);
        write_file_bytes(GOLDEN_DIR + c.name + ".golden", golden::write_pinned(pinned));
        std::cout << c.name << ": " << pinned.changes.size() << " presents, status "
                  << pinned.status << '\n';
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--update") == 0) return update(argc - 2, argv + 2);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
