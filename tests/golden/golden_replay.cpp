#include "golden/golden_replay.h"

#include <cstdio>
#include <set>
#include <sstream>

#include "support/measure.h"

namespace golden {

namespace {

using State = std::map<std::string, uint32_t>;

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

void merge_changes(State& state, const State& changes) {
    for (const auto& [field, digest] : changes) state[field] = digest;
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
        const std::string hex = trim(line.substr(bar2 + 1));
        cases.push_back({trim(line.substr(0, bar1)), words(line.substr(bar1 + 1, bar2 - bar1 - 1)),
                         from_hex(hex), !hex.empty()});
    }
    return cases;
}

Pinned pin_trace(const std::vector<Json>& trace, int status, const std::string& play_data_hex) {
    Pinned pinned{{}, status, play_data_hex};
    State state;
    for (const Json& record : trace) {
        State changes;
        for (const auto& [field, value] : record.fields) {
            const auto old = state.find(field);
            if (field != "frame" && (old == state.end() || old->second != fnv1a(value.raw)))
                changes[field] = fnv1a(value.raw);
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
        for (const auto& [field, digest] : pinned.changes[i]) {
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08x", digest);
            out << ' ' << field << '=' << hex;
        }
        out << '\n';
    }
    out << "status " << pinned.status << "\nplay-data " << pinned.play_data_hex << '\n';
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
            State& changes = out->changes.emplace_back();
            for (size_t k = 1; k < w.size(); ++k) {
                const size_t eq = w[k].find('=');
                if (eq == std::string::npos) {
                    *error = "line " + std::to_string(number) + ": bad field " + w[k];
                    return false;
                }
                changes[w[k].substr(0, eq)] =
                    static_cast<uint32_t>(std::stoul(w[k].substr(eq + 1), nullptr, 16));
            }
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
            const bool same = want.count(field) == got.count(field) &&
                              (!want.count(field) || want[field] == got[field]);
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
