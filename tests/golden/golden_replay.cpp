#include "golden/golden_replay.h"

#include <set>
#include <sstream>

namespace golden {

namespace {

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The end of the JSON value starting at `at` (one past its last character).
size_t value_end(const std::string& line, size_t at) {
    int depth = 0;
    bool in_string = false;
    for (size_t i = at; i < line.size(); ++i) {
        const char c = line[i];
        if (in_string) {
            if (c == '\\')
                ++i;
            else if (c == '"') {
                in_string = false;
                if (depth == 0) return i + 1;
            }
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (depth == 0) return i;
            if (--depth == 0) return i + 1;
        } else if (c == ',' && depth == 0) {
            return i;
        }
    }
    return line.size();
}

using State = std::map<std::string, uint32_t>;

void merge_changes(State& state, const State& changes) {
    for (const auto& [field, digest] : changes) state[field] = digest;
}

std::string hex32(uint32_t v) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", v);
    return buf;
}

}  // namespace

std::vector<Case> read_cases(const std::string& text, std::string* error) {
    std::vector<Case> cases;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const size_t bar1 = line.find('|');
        const size_t bar2 = bar1 == std::string::npos ? bar1 : line.find('|', bar1 + 1);
        if (bar2 == std::string::npos) {
            *error =
                "cases.txt line " + std::to_string(number) + ": expected name | options | data";
            return {};
        }
        Case c;
        c.name = trim(line.substr(0, bar1));
        c.args = words(line.substr(bar1 + 1, bar2 - bar1 - 1));
        const std::string hex = trim(line.substr(bar2 + 1));
        c.has_play_data = !hex.empty();
        c.play_data = from_hex(hex);
        cases.push_back(c);
    }
    return cases;
}

std::map<std::string, std::string> split_record(const std::string& line) {
    std::map<std::string, std::string> fields;
    size_t i = line.find('{');
    if (i == std::string::npos) return fields;
    ++i;
    while (i < line.size()) {
        const size_t key_start = line.find('"', i);
        if (key_start == std::string::npos) break;
        const size_t key_end = line.find('"', key_start + 1);
        const size_t colon = line.find(':', key_end);
        if (key_end == std::string::npos || colon == std::string::npos) break;
        size_t value_start = colon + 1;
        while (value_start < line.size() && line[value_start] == ' ') ++value_start;
        const size_t end = value_end(line, value_start);
        fields[line.substr(key_start + 1, key_end - key_start - 1)] =
            line.substr(value_start, end - value_start);
        i = end + 1;
    }
    return fields;
}

uint32_t fnv1a(const std::string& text) {
    uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

std::string to_hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) out += std::string{digits[c >> 4], digits[c & 15]};
    return out;
}

std::string from_hex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

Pinned pin_trace(const std::string& trace, int status, const std::string& play_data_hex) {
    Pinned pinned;
    pinned.status = status;
    pinned.play_data_hex = play_data_hex;
    State state;
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) {
        if (trim(line).empty()) continue;
        State changes;
        for (const auto& [field, text] : split_record(line)) {
            if (field == "frame") continue;
            const uint32_t digest = fnv1a(text);
            const auto old = state.find(field);
            if (old == state.end() || old->second != digest) changes[field] = digest;
        }
        merge_changes(state, changes);
        pinned.changes.push_back(changes);
    }
    return pinned;
}

std::string write_pinned(const Pinned& pinned) {
    std::ostringstream out;
    out << "# zarvox golden 1: per present, the fields that changed, as FNV-1a digests\n";
    for (size_t i = 0; i < pinned.changes.size(); ++i) {
        out << i + 1;
        for (const auto& [field, digest] : pinned.changes[i])
            out << ' ' << field << '=' << hex32(digest);
        out << '\n';
    }
    out << "status " << pinned.status << '\n';
    out << "play-data " << pinned.play_data_hex << '\n';
    return out.str();
}

bool read_pinned(const std::string& text, Pinned* out, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    *out = Pinned{};
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> w = words(line);
        if (w[0] == "status" && w.size() == 2) {
            out->status = std::stoi(w[1]);
        } else if (w[0] == "play-data" && w.size() == 2) {
            out->play_data_hex = w[1];
        } else if (std::to_string(out->changes.size() + 1) == w[0]) {
            State changes;
            for (size_t k = 1; k < w.size(); ++k) {
                const size_t eq = w[k].find('=');
                if (eq == std::string::npos) {
                    *error = "line " + std::to_string(number) + ": bad field " + w[k];
                    return false;
                }
                changes[w[k].substr(0, eq)] =
                    static_cast<uint32_t>(std::stoul(w[k].substr(eq + 1), nullptr, 16));
            }
            out->changes.push_back(changes);
        } else {
            *error = "line " + std::to_string(number) + ": unexpected '" + line.substr(0, 40) + "'";
            return false;
        }
    }
    return true;
}

std::string first_difference(const Pinned& expected, const Pinned& actual) {
    // Fields the golden never saw (a later addition to the trace) are not pinned.
    std::set<std::string> pinned_fields;
    for (const State& changes : expected.changes)
        for (const auto& entry : changes) pinned_fields.insert(entry.first);

    State want, got;
    const size_t common = std::min(expected.changes.size(), actual.changes.size());
    for (size_t i = 0; i < common; ++i) {
        merge_changes(want, expected.changes[i]);
        merge_changes(got, actual.changes[i]);
        std::string fields;
        for (const std::string& field : pinned_fields) {
            const auto w = want.find(field), g = got.find(field);
            const bool same = (w == want.end()) == (g == got.end()) &&
                              (w == want.end() || w->second == g->second);
            if (!same) fields += (fields.empty() ? "\"" : ", \"") + field + "\"";
        }
        if (!fields.empty()) return "frame " + std::to_string(i + 1) + " differs in " + fields;
    }
    if (expected.changes.size() != actual.changes.size())
        return "the run has " + std::to_string(actual.changes.size()) + " presents, the golden " +
               std::to_string(expected.changes.size());
    if (expected.status != actual.status)
        return "exit status " + std::to_string(actual.status) + ", golden " +
               std::to_string(expected.status);
    if (expected.play_data_hex != actual.play_data_hex)
        return "PlayData.dat differs: " + actual.play_data_hex + ", golden " +
               expected.play_data_hex;
    return "";
}

}  // namespace golden
