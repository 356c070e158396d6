// A small JSON reader for the hardening checks: enough to take apart the
// replay tool's trace lines (objects, arrays, strings, numbers, null).
// Malformed text gives nothing, with the offset of the fault.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JsonValue {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    double number = 0;
    bool boolean = false;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue, std::less<>> members;

    bool IsNull() const { return type == Type::Null; }
    // The member of that name; a null value when there is none.
    const JsonValue &operator[](std::string_view key) const;
    const JsonValue &operator[](std::size_t index) const;
    bool Has(std::string_view key) const { return members.find(key) != members.end(); }
    long long Int() const { return static_cast<long long>(number); }
};

// Parses one complete JSON text; on failure *errorAt is the byte offset.
std::optional<JsonValue> ParseJson(std::string_view text, std::size_t *errorAt = nullptr);
