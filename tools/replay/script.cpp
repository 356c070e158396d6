// Parsing and checking of replay scripts.
#include "tools/replay/script.h"

#include <charconv>
#include <string_view>

namespace {

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r'))
            ++i;
        std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\r')
            ++i;
        if (i > start)
            words.push_back(s.substr(start, i - start));
    }
    return words;
}

// A decimal integer in [lo, hi], nothing else.
std::optional<std::int64_t> Integer(std::string_view word, std::int64_t lo, std::int64_t hi) {
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

} // namespace

ParsedScript ParseScript(std::istream &in) {
    using Kind = ReplayCommand::Kind;
    struct Syntax {
        std::string_view name;
        Kind kind;
        const char *argument; // null: none
        std::int64_t lo, hi;
    };
    static const Syntax table[] = {
        {"start", Kind::Start, "a start time T in seconds since the epoch (0..4294967295)", 0,
         4294967295LL},
        {"mouse", Kind::Mouse, "a client x (0..599)", 0, 599},
        {"menu", Kind::Menu, "a command id (101, 102, 103, 104, 106 or 107)", 101, 107},
        {"select", Kind::Select, nullptr, 0, 0},
        {"activate", Kind::Activate, "an activation state (0 or 1)", 0, 1},
        {"wait", Kind::Wait, "milliseconds (0..86400000)", 0, 86400000},
        {"paint", Kind::Paint, nullptr, 0, 0},
        {"close", Kind::Close, nullptr, 0, 0},
        {"state", Kind::State, nullptr, 0, 0},
        {"shot", Kind::Shot, nullptr, 0, 0},
    };

    ParsedScript result;
    auto fail = [&](int line, std::string message) {
        result.commands.clear();
        result.error = ScriptError{line, std::move(message)};
        return result;
    };

    std::string text;
    int lineNo = 0;
    while (std::getline(in, text)) {
        ++lineNo;
        std::string_view line = text;
        if (auto hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        auto words = Words(line);
        if (words.empty())
            continue;

        const Syntax *syntax = nullptr;
        for (const Syntax &s : table)
            if (s.name == words[0])
                syntax = &s;
        if (!syntax)
            return fail(lineNo, "unknown command '" + std::string(words[0]) + "'");

        ReplayCommand cmd{syntax->kind, 0, {}, lineNo};
        if (syntax->kind == Kind::Shot) {
            if (words.size() != 2)
                return fail(lineNo, "shot takes one file name");
            cmd.file = std::string(words[1]);
        } else if (syntax->argument) {
            if (words.size() != 2)
                return fail(lineNo, std::string(words[0]) + " takes " + syntax->argument);
            auto value = Integer(words[1], syntax->lo, syntax->hi);
            bool ok = value.has_value();
            if (ok && syntax->kind == Kind::Menu)
                ok = *value != 105;
            if (!ok)
                return fail(lineNo, std::string(words[0]) + " takes " + syntax->argument +
                                        ", not '" + std::string(words[1]) + "'");
            cmd.value = *value;
        } else if (words.size() != 1) {
            return fail(lineNo, std::string(words[0]) + " takes no argument");
        }

        const bool first = result.commands.empty();
        if (first && cmd.kind != Kind::Start)
            return fail(lineNo, "the script must begin with start");
        if (!first && cmd.kind == Kind::Start)
            return fail(lineNo, "start comes only once");
        result.commands.push_back(std::move(cmd));
    }
    if (result.commands.empty())
        return fail(lineNo == 0 ? 1 : lineNo, "the script has no start");
    return result;
}
