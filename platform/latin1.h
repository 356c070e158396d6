// The game's texts are Latin-1 bytes; SDL, JSON traces and terminals want
// UTF-8. Latin-1 is the first 256 code points, so each byte from 0x80 on
// becomes two UTF-8 bytes.
#pragma once

#include <string>
#include <string_view>

inline void AppendUtf8(std::string &out, unsigned char latin1) {
    if (latin1 < 0x80) {
        out += static_cast<char>(latin1);
    } else {
        out += static_cast<char>(0xC0 | (latin1 >> 6));
        out += static_cast<char>(0x80 | (latin1 & 0x3F));
    }
}

inline std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char c : latin1) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}
