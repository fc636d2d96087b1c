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
        if (i >= s.size() || s[i] != c) return false;
        ++i;
        return true;
    }
    void expect(char c) {
        if (!eat(c)) fail("unexpected character");
    }
    std::string string() {
        expect('"');
        std::string out;
        while (i < s.size() && s[i] != '"') {
            if (s[i] != '\\') {
                out += s[i++];
            } else if (i + 1 < s.size() && s[i + 1] == 'u') {
                out += static_cast<char>(std::strtol(s.substr(i + 2, 4).c_str(), nullptr, 16));
                i += 6;
            } else if (i + 1 < s.size()) {
                const char e = s[i + 1];
                out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                i += 2;
            } else {
                fail("bad escape");
            }
        }
        expect('"');
        return out;
    }
    // A value, with the exact text it was written as.
    Json value() {
        space();
        const size_t start = i;
        Json v = bare_value();
        v.raw = s.substr(start, i - start);
        return v;
    }
    Json bare_value() {
        Json v;
        if (eat('{')) {
            v.kind = Json::Kind::Object;
            if (eat('}')) return v;
            do {
                std::string key = string();
                expect(':');
                v.fields[key] = value();
            } while (eat(','));
            expect('}');
        } else if (eat('[')) {
            v.kind = Json::Kind::Array;
            if (eat(']')) return v;
            do v.items.push_back(value());
            while (eat(','));
            expect(']');
        } else if (i < s.size() && s[i] == '"') {
            v.kind = Json::Kind::String;
            v.text = string();
        } else if (s.compare(i, 4, "null") == 0) {
            i += 4;
        } else if (s.compare(i, 4, "true") == 0 || s.compare(i, 5, "false") == 0) {
            v.kind = Json::Kind::Bool;
            v.boolean = s[i] == 't';
            i += v.boolean ? 4 : 5;
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
