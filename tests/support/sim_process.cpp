#include "support/sim_process.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/play_data.h"

std::string read_file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write_file_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> files_in(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

// The scratch folders this test program made (and their runs' standard
// error beside them), removed as it exits by the process that made them,
// not by a forked child. ZARVOX_KEEP_SCRATCH keeps them to look at.
struct ScratchFolders {
    pid_t owner = ::getpid();
    std::string parent;
    std::vector<std::string> made;
    ~ScratchFolders() {
        if (::getpid() != owner || std::getenv("ZARVOX_KEEP_SCRATCH") != nullptr) return;
        std::error_code ignored;
        for (const std::string& dir : made) {
            std::filesystem::remove_all(dir, ignored);
            std::filesystem::remove(dir + ".err", ignored);
        }
        if (!parent.empty()) std::filesystem::remove(parent, ignored);  // only when empty
    }
};

ScratchFolders& scratch_folders() {
    static ScratchFolders folders;
    return folders;
}

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
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

SimResult run_sim_process(const SimRun& run, const std::string& dir) {
    SimResult result;
    result.dir = dir;
    if (run.has_play_data) write_file_bytes(dir + "/PlayData.dat", run.play_data);
    // ZARVOX_SIM_COMMAND runs another build of the runner instead, such as
    // "wine build-win/zarvox-sim.exe" (a shell command line, used as it is,
    // without the time limit).
    const char* other = std::getenv("ZARVOX_SIM_COMMAND");
    std::string command =
        "cd " + quote(dir) + " && " +
        (other && *other ? std::string(other)
                         : "exec timeout -s KILL " + std::to_string(run.time_limit) + " " +
                               quote(ZARVOX_SIM_PATH));
    if (!run.script.empty()) {
        write_file_bytes(dir + "/keys.txt", run.script);
        command += " --input keys.txt";
    }
    if (run.trace) command += " --trace trace.jsonl";
    for (const std::string& a : run.args) command += " " + quote(a);
    const std::string err = dir + ".err";
    const pid_t pid = fork();
    if (pid == 0) {
        // Standard error is opened before dropping root, beside the folder.
        if (!std::freopen(err.c_str(), "w", stderr)) _exit(120);
        if (run.as_nobody && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(121);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(122);
    }
    int raw = 0;
    waitpid(pid, &raw, 0);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.stderr_text = read_file_bytes(err);
    if (run.trace) result.trace = parse_json_lines(read_file_bytes(dir + "/trace.jsonl"));
    const size_t end = result.stderr_text.rfind("{\"end\"");
    if (end != std::string::npos) {
        const size_t stop = result.stderr_text.find('\n', end);
        result.end = parse_json(result.stderr_text.substr(end, stop - end));
    }
    return result;
}

SimResult run_sim(const std::string& dir, const std::vector<std::string>& args,
                  const std::string& script) {
    SimRun run;
    run.trace = false;
    run.args = args;
    run.script = script;
    return run_sim_process(run, dir);
}

std::string play_record(double best, const std::vector<int>& rewards) {
    PlayDataRecord r{};
    r.best_score = best;
    for (int k : rewards) r.rewards[k] = 1;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

PlayDataRecord parsed_record(const std::string& bytes) {
    PlayDataRecord r{};
    std::memcpy(&r, bytes.data(), std::min(bytes.size(), sizeof r));
    return r;
}

bool trace_shows_record(const Json& record, const std::string& play_data) {
    if (play_data.size() != sizeof(PlayDataRecord)) return false;
    const PlayDataRecord r = parsed_record(play_data);
    if (record["best"].number != r.best_score) return false;
    for (size_t k = 0; k < REWARD_COUNT; ++k)
        if (record["rewards"][k].as_int() != r.rewards[k]) return false;
    return true;
}
