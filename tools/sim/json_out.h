// A small writer for one JSON object per line, into a preallocated buffer so
// that tracing a frame allocates nothing.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "objects/game_object.h"

class JsonOut {
public:
    void clear() {
        length_ = 0;
        need_comma_ = false;
        text_[0] = '\0';
    }
    const char* text() const { return text_; }
    size_t length() const { return length_; }

    void begin_object() { open('{'); }
    void end_object() { close('}'); }
    void begin_array() { open('['); }
    void end_array() { close(']'); }

    // A key inside an object; the next value call writes its value.
    void key(const char* name) {
        comma();
        append('"');
        append(name);
        append("\":");
        need_comma_ = false;
    }
    void value(int64_t v) {
        comma();
        char buf[32];
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v));
        append(buf);
        need_comma_ = true;
    }
    // Whole doubles print without a fraction. JSON has no NaN or infinity:
    // those are written as the strings "nan", "inf" and "-inf".
    void value(double v) {
        if (std::isnan(v)) return value("nan");
        if (std::isinf(v)) return value(v > 0 ? "inf" : "-inf");
        comma();
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17g", v);
        append(buf);
        need_comma_ = true;
    }
    void value(const char* s) {
        comma();
        append('"');
        for (; *s; ++s) {
            unsigned char c = static_cast<unsigned char>(*s);
            if (c == '"' || c == '\\') {
                append('\\');
                append(static_cast<char>(c));
            } else if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                append(buf);
            } else {
                append(static_cast<char>(c));
            }
        }
        append('"');
        need_comma_ = true;
    }
    void field(const char* name, int64_t v) { key(name), value(v); }
    void field(const char* name, int v) { key(name), value(static_cast<int64_t>(v)); }
    void field(const char* name, uint32_t v) { key(name), value(static_cast<int64_t>(v)); }
    void field(const char* name, double v) { key(name), value(v); }
    void field(const char* name, const char* v) { key(name), value(v); }

    // {"v","s","x","y","vx","vy","f","n","t","k","fr"} of one object.
    void object(const GameObject& o) {
        begin_object();
        field("v", o.visible);
        field("s", o.state);
        field("x", o.x);
        field("y", o.y);
        field("vx", o.vx);
        field("vy", o.vy);
        field("f", o.flag);
        field("n", o.stock);
        field("t", o.timer);
        field("k", o.kind);
        field("fr", o.frame);
        end_object();
    }
    void named_object(const char* name, const GameObject& o) { key(name), object(o); }
    void named_pool(const char* name, const GameObject* pool, int count) {
        key(name);
        begin_array();
        for (int i = 0; i < count; ++i) object(pool[i]);
        end_array();
    }

private:
    void open(char c) {
        comma();
        append(c);
        need_comma_ = false;
    }
    void close(char c) {
        append(c);
        need_comma_ = true;
    }
    void comma() {
        if (need_comma_) append(',');
    }
    void append(char c) {
        if (length_ + 1 < sizeof text_) {
            text_[length_++] = c;
            text_[length_] = '\0';
        }
    }
    void append(const char* s) {
        while (*s) append(*s++);
    }

    char text_[1 << 18] = {};
    size_t length_ = 0;
    bool need_comma_ = false;
};
