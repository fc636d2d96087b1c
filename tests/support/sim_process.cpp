#include "support/sim_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <vector>

std::string read_file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write_file_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

// The scratch folders this test program made, removed as it exits (by the
// process that made them, not by a forked child). ZARVOX_KEEP_SCRATCH keeps
// them to look at.
struct ScratchFolders {
    pid_t owner = ::getpid();
    std::string parent;
    std::vector<std::string> made;
    ~ScratchFolders() {
        if (::getpid() != owner || std::getenv("ZARVOX_KEEP_SCRATCH") != nullptr) return;
        std::error_code ignored;
        for (const std::string& dir : made) std::filesystem::remove_all(dir, ignored);
        if (!parent.empty()) std::filesystem::remove(parent, ignored);  // only when empty
    }
};

ScratchFolders& scratch_folders() {
    static ScratchFolders folders;
    return folders;
}

}  // namespace

std::string make_scratch_dir(const std::string& name) {
    ScratchFolders& folders = scratch_folders();
    folders.parent = std::filesystem::current_path().string() + "/scratch";
    const std::string dir = folders.parent + "/" + name + "-" + std::to_string(::getpid());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    if (std::find(folders.made.begin(), folders.made.end(), dir) == folders.made.end())
        folders.made.push_back(dir);
    return dir;
}

const Json& at(const SimResult& r, int frame) {
    const Json& record = r.trace.at(static_cast<size_t>(frame - 1));
    EXPECT_EQ(record["frame"].as_int(), frame);
    return record;
}

int frames_of(const SimResult& r) {
    return static_cast<int>(r.trace.size());
}

namespace {

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace

SimResult run_sim_process(const SimRun& run, const std::string& dir) {
    SimResult result;
    result.dir = dir;
    if (run.has_play_data) write_file_bytes(dir + "/PlayData.dat", run.play_data);
    // ZARVOX_SIM_COMMAND runs another build of the runner instead, such as
    // "wine build-win/zarvox-sim.exe" (a shell command line, used as it is).
    const char* other = std::getenv("ZARVOX_SIM_COMMAND");
    std::string command = "cd " + quote(dir) + " && " +
                          (other && *other ? std::string(other) : quote(ZARVOX_SIM_PATH));
    if (!run.script.empty()) {
        write_file_bytes(dir + "/keys.txt", run.script);
        command += " --input keys.txt";
    }
    if (run.trace) command += " --trace trace.jsonl";
    for (const std::string& a : run.args) command += " " + quote(a);
    command += " 2> stderr.txt";
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.stderr_text = read_file_bytes(dir + "/stderr.txt");
    if (run.trace) result.trace = parse_json_lines(read_file_bytes(dir + "/trace.jsonl"));
    const size_t end = result.stderr_text.rfind("{\"end\"");
    if (end != std::string::npos) {
        const size_t stop = result.stderr_text.find('\n', end);
        result.end = parse_json(result.stderr_text.substr(end, stop - end));
    }
    return result;
}

bool trace_shows_record(const Json& record, const std::string& play_data) {
    if (play_data.size() != 72) return false;
    double best = 0;
    std::memcpy(&best, play_data.data(), sizeof best);
    if (record["best"].number != best) return false;
    for (size_t k = 0; k < 10; ++k) {
        int32_t flag = 0;
        std::memcpy(&flag, play_data.data() + 12 + 4 * k, sizeof flag);
        if (record["rewards"][k].as_int() != flag) return false;
    }
    return true;
}
