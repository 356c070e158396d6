// Recursive-descent JSON reading, strict about structure; numbers go through
// strtod so the trace's round-trip doubles come back exactly.
#include "tests/hardening/json.h"

#include <cstdlib>

namespace {

const JsonValue kNull;

class Reader {
public:
    explicit Reader(std::string_view s) : m_s(s) {}

    bool Value(JsonValue &out, int depth) {
        if (depth > 64)
            return false;
        Space();
        if (m_i >= m_s.size())
            return false;
        char c = m_s[m_i];
        if (c == '{')
            return Object(out, depth);
        if (c == '[')
            return Array(out, depth);
        if (c == '"') {
            out.type = JsonValue::Type::String;
            return String(out.text);
        }
        if (Word("null"))
            return out.type = JsonValue::Type::Null, true;
        if (Word("true"))
            return out.type = JsonValue::Type::Bool, out.boolean = true, true;
        if (Word("false"))
            return out.type = JsonValue::Type::Bool, out.boolean = false, true;
        return Number(out);
    }
    bool AtEnd() {
        Space();
        return m_i == m_s.size();
    }
    std::size_t Offset() const { return m_i; }

private:
    void Space() {
        while (m_i < m_s.size() &&
               (m_s[m_i] == ' ' || m_s[m_i] == '\t' || m_s[m_i] == '\n' || m_s[m_i] == '\r'))
            ++m_i;
    }
    bool Word(std::string_view w) {
        if (m_s.substr(m_i, w.size()) != w)
            return false;
        m_i += w.size();
        return true;
    }
    bool Number(JsonValue &out) {
        std::size_t start = m_i;
        if (m_i < m_s.size() && m_s[m_i] == '-')
            ++m_i;
        while (m_i < m_s.size() &&
               std::string_view("0123456789.eE+-").find(m_s[m_i]) != std::string_view::npos)
            ++m_i;
        if (m_i == start)
            return false;
        std::string digits(m_s.substr(start, m_i - start));
        char *end = nullptr;
        out.number = std::strtod(digits.c_str(), &end);
        out.type = JsonValue::Type::Number;
        return end == digits.c_str() + digits.size();
    }
    static void Utf8(std::string &out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    bool String(std::string &out) {
        ++m_i; // opening quote
        out.clear();
        while (m_i < m_s.size()) {
            char c = m_s[m_i++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_i >= m_s.size())
                return false;
            char e = m_s[m_i++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (m_i + 4 > m_s.size())
                    return false;
                unsigned cp = 0;
                for (int k = 0; k < 4; ++k) {
                    char h = m_s[m_i++];
                    cp <<= 4;
                    if (h >= '0' && h <= '9')
                        cp |= unsigned(h - '0');
                    else if (h >= 'a' && h <= 'f')
                        cp |= unsigned(h - 'a' + 10);
                    else if (h >= 'A' && h <= 'F')
                        cp |= unsigned(h - 'A' + 10);
                    else
                        return false;
                }
                Utf8(out, cp);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }
    bool Array(JsonValue &out, int depth) {
        ++m_i;
        out.type = JsonValue::Type::Array;
        Space();
        if (m_i < m_s.size() && m_s[m_i] == ']')
            return ++m_i, true;
        for (;;) {
            out.items.emplace_back();
            if (!Value(out.items.back(), depth + 1))
                return false;
            Space();
            if (m_i >= m_s.size())
                return false;
            char c = m_s[m_i++];
            if (c == ']')
                return true;
            if (c != ',')
                return false;
        }
    }
    bool Object(JsonValue &out, int depth) {
        ++m_i;
        out.type = JsonValue::Type::Object;
        Space();
        if (m_i < m_s.size() && m_s[m_i] == '}')
            return ++m_i, true;
        for (;;) {
            Space();
            if (m_i >= m_s.size() || m_s[m_i] != '"')
                return false;
            std::string key;
            if (!String(key))
                return false;
            Space();
            if (m_i >= m_s.size() || m_s[m_i++] != ':')
                return false;
            JsonValue value;
            if (!Value(value, depth + 1))
                return false;
            if (!out.members.emplace(std::move(key), std::move(value)).second)
                return false;
            Space();
            if (m_i >= m_s.size())
                return false;
            char c = m_s[m_i++];
            if (c == '}')
                return true;
            if (c != ',')
                return false;
        }
    }

    std::string_view m_s;
    std::size_t m_i = 0;
};

} // namespace

const JsonValue &JsonValue::operator[](std::string_view key) const {
    auto it = members.find(key);
    return it == members.end() ? kNull : it->second;
}

const JsonValue &JsonValue::operator[](std::size_t index) const {
    return index < items.size() ? items[index] : kNull;
}

std::optional<JsonValue> ParseJson(std::string_view text, std::size_t *errorAt) {
    Reader reader(text);
    JsonValue value;
    if (reader.Value(value, 0) && reader.AtEnd())
        return value;
    if (errorAt)
        *errorAt = reader.Offset();
    return std::nullopt;
}
