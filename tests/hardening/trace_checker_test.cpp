// The soak's checker must see a fault when there is one: a real trace of a
// few games passes, and each doctored copy of it (a wrong score, a brick that
// comes back, a lost timer...) is caught with the rule it breaks.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/hardening/replay_process.h"
#include "tests/hardening/trace_checker.h"

namespace fs = std::filesystem;

namespace {

using Trace = std::vector<std::string>;

// Two or three games of about 1,000 ball ticks, with pauses, language
// switches and info boxes between them, played by the autopilot.
const Trace &RealTrace() {
    static Trace trace = [] {
        char tmpl[] = "/tmp/quarzel-checker-XXXXXX";
        if (!mkdtemp(tmpl))
            return Trace{};
        const fs::path dir = tmpl;
        const std::string command = std::string(QZ_AUTOPILOT_EXE) +
                                    " --ticks 2500 --game 800-1200 --interludes 150 --seed 5 > " +
                                    (dir / "pilot.script").string() + " 2>/dev/null";
        Trace lines;
        if (std::system(command.c_str()) == 0) {
            std::ifstream f(dir / "pilot.script");
            std::stringstream script;
            script << f.rdbuf();
            lines = RunReplay(dir.string(), script.str()).lines;
        }
        fs::remove_all(dir);
        return lines;
    }();
    return trace;
}

struct Verdict {
    bool ok;
    std::string faults;
};

Verdict Check(const Trace &trace) {
    TraceChecker checker;
    for (const std::string &line : trace)
        if (!checker.Line(line))
            break;
    Verdict v{checker.Finish(2500, 2), ""};
    for (const std::string &f : checker.Faults())
        v.faults += f + "\n";
    return v;
}

// The text of `"key":value` in a line, from the first match after `after`.
std::size_t ValueAt(const std::string &line, const std::string &key, std::size_t after = 0) {
    std::size_t at = line.find("\"" + key + "\":", after);
    return at == std::string::npos ? at : at + key.size() + 3;
}

void SetValue(std::string &line, const std::string &key, const std::string &value,
              std::size_t after = 0) {
    std::size_t at = ValueAt(line, key, after);
    ASSERT_NE(at, std::string::npos) << key;
    std::size_t end = line.find_first_of(",}", at);
    line.replace(at, end - at, value);
}

long long GetInt(const std::string &line, const std::string &key) {
    return std::atoll(line.c_str() + ValueAt(line, key));
}

// The index of the first line, from the middle of the trace on, for which
// `pick` holds.
std::size_t Pick(const Trace &t,
                 const std::function<bool(const std::string &, const std::string &)> &pick) {
    for (std::size_t i = t.size() / 2; i + 1 < t.size(); ++i)
        if (pick(t[i], t[i + 1]))
            return i;
    return std::string::npos;
}

bool Running(const std::string &line) {
    return line.find("\"running\":1") != std::string::npos;
}

struct Doctoring {
    const char *name;
    const char *fault; // part of the fault message expected
    std::function<void(Trace &)> doctor;
};

const Doctoring kDoctorings[] = {
    {"ten points too many", "expected",
     [](Trace &t) {
         std::size_t i = Pick(t, [](auto &a, auto &) { return Running(a); });
         SetValue(t[i], "score", std::to_string(GetInt(t[i], "score") + 10));
     }},
    {"a hidden brick stands again", "came back",
     [](Trace &t) {
         // Slot 0's row, the same in two lines, with a brick already hidden
         // in the first: the second line shows it standing again.
         std::size_t i = Pick(t, [](auto &a, auto &b) {
             const std::size_t va = a.find("\"visible\":\""), vb = b.find("\"visible\":\"");
             return Running(a) && Running(b) && a.compare(va, 26, b, vb, 26) == 0 &&
                    a.find('0', va + 11) < va + 26 &&
                    a.substr(a.find("\"rows\""), 60) == b.substr(b.find("\"rows\""), 60);
         });
         ASSERT_NE(i, std::string::npos);
         std::string &b = t[i + 1];
         const std::size_t at = b.find("\"visible\":\"");
         b[b.find('0', at + 11)] = '1';
     }},
    {"the timers gone during a game", "timers",
     [](Trace &t) {
         std::size_t i = Pick(t, [](auto &a, auto &) { return Running(a); });
         std::size_t at = ValueAt(t[i], "timers");
         t[i].replace(at, t[i].find('}', at) + 1 - at, "{}");
     }},
    {"a wall period below 760 ms", "wall period",
     [](Trace &t) {
         std::size_t i = Pick(t, [](auto &a, auto &) { return Running(a); });
         SetValue(t[i], "wall_ms", "700");
     }},
    {"the ball inside the left wall", "outside the play field",
     [](Trace &t) {
         std::size_t i = Pick(t, [](auto &a, auto &) { return Running(a); });
         SetValue(t[i], "x", "20.5", t[i].find("\"ball\""));
         SetValue(t[i], "y", "200", t[i].find("\"ball\""));
     }},
    {"the high score below the score", "high score",
     [](Trace &t) {
         std::size_t i =
             Pick(t, [](auto &a, auto &) { return Running(a) && GetInt(a, "score") > 0; });
         SetValue(t[i], "high", std::to_string(GetInt(t[i], "score") - 10));
     }},
    {"fourteen row slots", "15 slots",
     [](Trace &t) {
         std::size_t i = Pick(t, [](auto &a, auto &) { return Running(a); });
         std::size_t at = t[i].find("{\"bitmap\"", ValueAt(t[i], "rows"));
         t[i].erase(at, t[i].find('}', at) + 2 - at);
     }},
    {"a bonus hit that scored nothing", "expected",
     [](Trace &t) {
         std::size_t i = Pick(t, [](auto &a, auto &) {
             return Running(a) && a.find("\"value\":null") == std::string::npos;
         });
         ASSERT_NE(i, std::string::npos);
         std::size_t at = ValueAt(t[i], "sounds");
         t[i].insert(at + 1, t[i][at + 1] == ']' ? "\"ding.wav\"" : "\"ding.wav\",");
     }},
    {"no exit line", "exit line", [](Trace &t) { t.pop_back(); }},
};

class DoctoredTrace : public ::testing::TestWithParam<Doctoring> {};

} // namespace

TEST(TraceChecker, real_trace_of_several_games_passes) {
    const Trace &trace = RealTrace();
    ASSERT_GT(trace.size(), 2500u);
    Verdict v = Check(trace);
    EXPECT_TRUE(v.ok) << v.faults;
}

TEST_P(DoctoredTrace, is_caught_by_the_rule_it_breaks) {
    Trace trace = RealTrace();
    ASSERT_GT(trace.size(), 2500u);
    GetParam().doctor(trace);
    Verdict v = Check(trace);
    EXPECT_FALSE(v.ok);
    EXPECT_NE(v.faults.find(GetParam().fault), std::string::npos) << v.faults;
}

INSTANTIATE_TEST_SUITE_P(Faults, DoctoredTrace, ::testing::ValuesIn(kDoctorings),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             for (char &c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });
