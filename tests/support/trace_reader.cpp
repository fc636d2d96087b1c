#include "support/trace_reader.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace {

const Json kNull;

struct Parser {
    const std::string& s;
    size_t i = 0;

    [[noreturn]] void fail(const char* what) {
        throw std::runtime_error(std::string("json: ") + what + " at " + std::to_string(i));
    }
    void space() {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    }
    bool eat(char c) {
        space();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    std::string string() {
        if (!eat('"')) fail("expected string");
        std::string out;
        while (i < s.size() && s[i] != '"') {
            if (s[i] == '\\') {
                ++i;
                if (i >= s.size()) fail("bad escape");
                const char e = s[i++];
                if (e == 'u') {
                    out += static_cast<char>(std::strtol(s.substr(i, 4).c_str(), nullptr, 16));
                    i += 4;
                } else {
                    out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                }
            } else {
                out += s[i++];
            }
        }
        if (!eat('"')) fail("unterminated string");
        return out;
    }
    Json value() {
        space();
        Json v;
        if (i >= s.size()) fail("unexpected end");
        const char c = s[i];
        if (c == '{') {
            ++i;
            v.kind = Json::Kind::Object;
            if (eat('}')) return v;
            do {
                std::string key = string();
                if (!eat(':')) fail("expected ':'");
                v.fields[key] = value();
            } while (eat(','));
            if (!eat('}')) fail("expected '}'");
        } else if (c == '[') {
            ++i;
            v.kind = Json::Kind::Array;
            if (eat(']')) return v;
            do v.items.push_back(value());
            while (eat(','));
            if (!eat(']')) fail("expected ']'");
        } else if (c == '"') {
            v.kind = Json::Kind::String;
            v.text = string();
        } else if (s.compare(i, 4, "null") == 0) {
            i += 4;
        } else if (s.compare(i, 4, "true") == 0) {
            i += 4;
            v.kind = Json::Kind::Bool;
            v.boolean = true;
        } else if (s.compare(i, 5, "false") == 0) {
            i += 5;
            v.kind = Json::Kind::Bool;
        } else {
            char* end = nullptr;
            v.number = std::strtod(s.c_str() + i, &end);
            if (end == s.c_str() + i) fail("bad value");
            i = static_cast<size_t>(end - s.c_str());
            v.kind = Json::Kind::Number;
        }
        return v;
    }
};

}  // namespace

const Json& Json::operator[](const std::string& key) const {
    auto it = fields.find(key);
    return it == fields.end() ? kNull : it->second;
}

const Json& Json::operator[](size_t index) const {
    return index < items.size() ? items[index] : kNull;
}

Json parse_json(const std::string& text) {
    Parser p{text};
    Json v = p.value();
    p.space();
    if (p.i != text.size()) p.fail("trailing text");
    return v;
}

std::vector<Json> parse_json_lines(const std::string& text) {
    std::vector<Json> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(parse_json(line));
    return out;
}
