#include "replay/key_script.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "replay/quoted.h"

namespace {

struct KeyName {
    const char* name;
    uint32_t code;
};

constexpr KeyName kKeys[] = {
    {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT}, {"UP", VK_UP}, {"DOWN", VK_DOWN},
    {"SPACE", VK_SPACE},   {"X", VK_X},         {"Z", VK_Z},   {"S", VK_S},
    {"A", VK_A},           {"SHIFT", VK_SHIFT}, {"F1", VK_F1}, {"F2", VK_F2},
    {"ESCAPE", VK_ESCAPE},
};

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// A plain decimal number of at most nine digits, no sign: a frame number or
// the milliseconds of an "ms" line.
bool parse_plain_number(const std::string& word, int* value) {
    if (word.empty() || word.size() > 9) return false;
    for (char c : word)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    *value = std::atoi(word.c_str());
    return true;
}

struct Entry {
    int frame;
    Message message;
    bool after_present;
};

constexpr const char* FORMAT_NAME = "# zarvox keys";
constexpr const char* PLAY_DATA_PREFIX = "# play data ";
constexpr const char* BUILD_PREFIX = "# zarvox build ";
constexpr int PLAY_DATA_BYTES = 72;

bool starts_with(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

std::string trimmed(const std::string& s) {
    size_t end = s.size();
    while (end > 0 && std::isspace(static_cast<unsigned char>(s[end - 1]))) --end;
    return s.substr(0, end);
}

// The format line, when the script has one: only version 1 is known.
bool known_format(const std::string& first_line, std::string* why) {
    const std::string line = trimmed(first_line);
    if (!starts_with(line, FORMAT_NAME)) return true;
    if (line == KEY_SCRIPT_HEADER) return true;
    const size_t version = line.find_first_not_of(" \t", std::strlen(FORMAT_NAME));
    *why = "unknown format version " +
           quoted(version == std::string::npos ? std::string() : line.substr(version)) +
           " (this game reads version 1)";
    return false;
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "# play data " and the record's bytes in hex; anything else is a comment.
bool play_data_line(const std::string& raw, std::string* bytes) {
    const std::string line = trimmed(raw);
    if (!starts_with(line, PLAY_DATA_PREFIX)) return false;
    const std::string hex = line.substr(std::strlen(PLAY_DATA_PREFIX));
    if (hex.size() != 2 * PLAY_DATA_BYTES) return false;
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = hex_digit(hex[i]), lo = hex_digit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<char>(hi * 16 + lo));
    }
    *bytes = out;
    return true;
}

// "# zarvox build " and the identity of the build that made the recording;
// anything else is a comment.
bool build_line(const std::string& raw, std::string* build) {
    const std::string line = trimmed(raw);
    if (!starts_with(line, BUILD_PREFIX) || line.size() == std::strlen(BUILD_PREFIX)) return false;
    *build = line.substr(std::strlen(BUILD_PREFIX));
    return true;
}

// The words of a line, without its comment.
std::vector<std::string> words_of(std::string line) {
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    return w;
}

// The messages and time reads of a script, read one line at a time.
struct ScriptReader {
    std::vector<Entry> entries;
    std::vector<ScriptedTime> times;
    int last_frame = 0;

    // Reads the words of one line; false with the reason for a bad one.
    bool read(std::vector<std::string> w, std::string* why) {
        int frame = 0;
        if (!parse_plain_number(w[0], &frame)) return bad("bad frame number " + quoted(w[0]), why);
        if (frame < 1) return bad("frame numbers start at 1", why);
        if (frame < last_frame) return bad("frame numbers must not decrease", why);
        last_frame = frame;
        if (w.size() < 2) return bad("missing action", why);
        // "after": the message reached the game in the pump ending frame N.
        const bool after = upper(w[1]) == "AFTER";
        if (after) {
            w.erase(w.begin() + 1);
            if (w.size() < 2) return bad("'after' needs a message", why);
        }
        const std::string action = upper(w[1]);
        if (action == "MS") {
            if (after) return bad("'after' takes a message, not 'ms'", why);
            return read_time(frame, w, why);
        }
        if (action == "DOWN" || action == "UP" || action == "PRESS")
            return read_key(frame, after, action, w, why);
        return read_command(frame, after, action, w, why);
    }

    bool read_time(int frame, const std::vector<std::string>& w, std::string* why) {
        int ms = 0;
        if (w.size() != 3 || !parse_plain_number(w[2], &ms) || ms > 999)
            return bad("'ms' takes a number from 0 to 999", why);
        times.push_back({frame, ms});
        return true;
    }

    bool read_key(int frame, bool after, const std::string& action,
                  const std::vector<std::string>& w, std::string* why) {
        if (w.size() != 3) return bad(quoted(w[1]) + " takes one key", why);
        const int code = key_code_from_name(w[2]);
        if (code < 0) return bad("unknown key " + quoted(w[2]), why);
        const uint32_t vk = static_cast<uint32_t>(code);
        if (action == "UP") {
            entries.push_back({frame, {WM_KEYUP, vk, 0}, after});
        } else {
            entries.push_back({frame, {WM_KEYDOWN, vk, 0}, after});
            if (action == "PRESS") entries.push_back({frame + 1, {WM_KEYUP, vk, 0}, false});
        }
        return true;
    }

    bool read_command(int frame, bool after, const std::string& action,
                      const std::vector<std::string>& w, std::string* why) {
        if (w.size() != 2) return bad(quoted(w[1]) + " takes no key", why);
        if (action == "CLOSE")
            entries.push_back({frame, {WM_CLOSE, 0, 0}, after});
        else if (action == "MENU")
            entries.push_back({frame, {WM_COMMAND, MENU_COMMAND_SALIR, 0}, after});
        else if (action == "QUIT")
            entries.push_back({frame, {WM_QUIT, 0, 0}, after});
        else
            return bad("unknown action " + quoted(w[1]), why);
        return true;
    }

    static bool bad(const std::string& reason, std::string* why) {
        *why = reason;
        return false;
    }

    // The messages in the order they reach the game: a press's release
    // belongs to the next frame, ahead of that frame's lines; a frame's
    // messages inside its present come before those after.
    std::vector<ScriptedMessage> messages() {
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return a.frame != b.frame ? a.frame < b.frame : !a.after_present && b.after_present;
        });
        std::vector<ScriptedMessage> out;
        for (const Entry& e : entries) out.push_back({e.frame, e.message, e.after_present});
        return out;
    }
};

// snprintf's length when all of it fitted in `size`, else 0.
int fitted(int written, int size) {
    return written > 0 && written < size ? written : 0;
}

}  // namespace

int key_code_from_name(const std::string& raw) {
    const std::string name = upper(raw);
    for (const KeyName& k : kKeys)
        if (name == k.name) return static_cast<int>(k.code);
    if (name.size() > 2 && name.size() <= 6 && name[0] == '0' && name[1] == 'X') {
        int code = 0;
        for (size_t i = 2; i < name.size(); ++i) {
            const char c = name[i];
            if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
            code =
                code * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'A' + 10);
        }
        return code;
    }
    return -1;
}

std::string key_name_from_code(uint32_t code) {
    for (const KeyName& k : kKeys)
        if (k.code == code) return k.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%02X", code);
    return buf;
}

bool parse_key_script(const char* text, size_t length, KeyScript* out, std::string* error) {
    // A byte-order mark, as some editors write, is not part of line 1.
    if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        length -= 3;
    }
    ScriptReader reader;
    std::string play_data, build;
    std::istringstream lines(std::string(text, length));
    std::string line;
    int line_number = 0;
    std::string why;
    auto fail = [&] {
        *error = "line " + std::to_string(line_number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++line_number;
        if (line_number == 1 && !known_format(line, &why)) return fail();
        if (play_data_line(line, &play_data) || build_line(line, &build)) continue;
        const std::vector<std::string> words = words_of(line);
        if (!words.empty() && !reader.read(words, &why)) return fail();
    }
    out->messages = reader.messages();
    out->times = std::move(reader.times);
    out->play_data = std::move(play_data);
    out->build = std::move(build);
    return true;
}

int format_script_line(const ScriptedMessage& m, char* out, int size) {
    const char* after = m.after_present ? " after" : "";
    const uint32_t id = m.message.id;
    if (id == WM_KEYDOWN || id == WM_KEYUP) {
        const char* action = id == WM_KEYDOWN ? "down" : "up";
        const uint32_t vk = m.message.wparam;
        for (const KeyName& k : kKeys)
            if (k.code == vk)
                return fitted(
                    std::snprintf(out, size, "%d%s %s %s\n", m.frame, after, action, k.name), size);
        if (vk > 0xFFFF) return 0;
        return fitted(std::snprintf(out, size, "%d%s %s 0x%02X\n", m.frame, after, action, vk),
                      size);
    }
    const char* action = id == WM_CLOSE     ? "close"
                         : id == WM_QUIT    ? "quit"
                         : id == WM_COMMAND ? "menu"
                                            : nullptr;
    // Commands other than "Salir" change nothing, so they need no line.
    if (!action || (id == WM_COMMAND && (m.message.wparam & 0xFFFF) != MENU_COMMAND_SALIR))
        return 0;
    return fitted(std::snprintf(out, size, "%d%s %s\n", m.frame, after, action), size);
}

int format_time_line(const ScriptedTime& t, char* out, int size) {
    return fitted(std::snprintf(out, size, "%d ms %d\n", t.frame, t.ms), size);
}

int format_build_line(const char* build, char* out, int size) {
    if (!build || !*build) return 0;
    return fitted(std::snprintf(out, size, "%s%s\n", BUILD_PREFIX, build), size);
}

int format_play_data_line(const void* record, int record_size, char* out, int size) {
    const int prefix = static_cast<int>(std::strlen(PLAY_DATA_PREFIX));
    if (size < prefix + 2 * record_size + 2) return 0;
    std::memcpy(out, PLAY_DATA_PREFIX, prefix);
    const auto* bytes = static_cast<const unsigned char*>(record);
    for (int i = 0; i < record_size; ++i) std::snprintf(out + prefix + 2 * i, 3, "%02x", bytes[i]);
    const int length = prefix + 2 * record_size;
    out[length] = '\n';
    out[length + 1] = '\0';
    return length + 1;
}
