#include "sim/key_script.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "sim/quoted.h"

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

bool parse_frame(const std::string& word, int* frame) {
    if (word.empty() || word.size() > 9) return false;
    for (char c : word)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    *frame = std::atoi(word.c_str());
    return true;
}

struct Entry {
    int frame;
    Message message;
};

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

bool parse_key_script(const char* text, size_t length, std::vector<ScriptedMessage>* out,
                      std::string* error) {
    // A byte-order mark, as some editors write, is not part of line 1.
    if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        length -= 3;
    }
    std::vector<Entry> entries;
    std::istringstream lines(std::string(text, length));
    std::string line;
    int line_number = 0;
    int last_frame = 0;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(line_number) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++line_number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        int frame = 0;
        if (!parse_frame(w[0], &frame)) return fail("bad frame number " + quoted(w[0]));
        if (frame < 1) return fail("frame numbers start at 1");
        if (frame < last_frame) return fail("frame numbers must not decrease");
        last_frame = frame;
        if (w.size() < 2) return fail("missing action");
        const std::string action = upper(w[1]);
        const bool takes_key = action == "DOWN" || action == "UP" || action == "PRESS";
        if (takes_key) {
            if (w.size() != 3) return fail(quoted(w[1]) + " takes one key");
            const int code = key_code_from_name(w[2]);
            if (code < 0) return fail("unknown key " + quoted(w[2]));
            const uint32_t vk = static_cast<uint32_t>(code);
            if (action == "UP") {
                entries.push_back({frame, {WM_KEYUP, vk, 0}});
            } else {
                entries.push_back({frame, {WM_KEYDOWN, vk, 0}});
                if (action == "PRESS") entries.push_back({frame + 1, {WM_KEYUP, vk, 0}});
            }
            continue;
        }
        if (w.size() != 2) return fail(quoted(w[1]) + " takes no key");
        if (action == "CLOSE")
            entries.push_back({frame, {WM_CLOSE, 0, 0}});
        else if (action == "MENU")
            entries.push_back({frame, {WM_COMMAND, MENU_COMMAND_SALIR, 0}});
        else if (action == "QUIT")
            entries.push_back({frame, {WM_QUIT, 0, 0}});
        else
            return fail("unknown action " + quoted(w[1]));
    }
    // A press's release belongs to the next frame, ahead of that frame's lines.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.frame < b.frame; });
    out->clear();
    for (const Entry& e : entries) out->push_back({e.frame, e.message});
    return true;
}
