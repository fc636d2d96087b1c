// Reads the runner's JSON Lines trace into values tests can query.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;
    std::string raw;  // the exact text it was written as (the golden replays digest it)

    const Json& operator[](const std::string& key) const;
    const Json& operator[](size_t index) const;
    int64_t as_int() const { return static_cast<int64_t>(number); }
    size_t size() const { return kind == Kind::Array ? items.size() : fields.size(); }
};

// Parses one JSON value; throws std::runtime_error on malformed text.
Json parse_json(const std::string& text);
// Parses every non-empty line.
std::vector<Json> parse_json_lines(const std::string& text);
