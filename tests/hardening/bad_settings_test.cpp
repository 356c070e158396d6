// The whole program, through quarzel-replay, on a settings file of random
// bytes and in a folder it may not write to: it starts, plays and quits with
// exit code 0; the language is English unless a readable "Language=0" entry
// comes first; in the read-only folder nothing is stored.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/hardening/json.h"
#include "tests/hardening/replay_process.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::string;

// A start, a second of a game with a switch to German in it, and Quit: the
// lines are the language at start, after the switch, and the game going on.
const char kSession[] = R"(start 1700000000
state
menu 101
wait 500
menu 107
state
menu 103
wait 500
state
menu 102
)";

const char kStartOnly[] = "start 1700000000\nstate\nmenu 102\n";

int Lang(const std::string &line) {
    auto v = ParseJson(line);
    return v ? int((*v)["lang"].Int()) : -1;
}

// The language the program should read from these bytes: the first entry
// that starts with the key decides, reading ends at a NUL byte, and only "0"
// right behind the key is German.
int ExpectedLanguage(const Bytes &bytes) {
    const std::string ws = " \t\n\v\f\r";
    std::string text = bytes.substr(0, bytes.find('\0'));
    std::size_t i = 0;
    while (i < text.size()) {
        i = text.find_first_not_of(ws, i);
        if (i == std::string::npos)
            break;
        std::size_t end = text.find_first_of(ws, i);
        std::string entry = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (entry.rfind("Language=", 0) == 0)
            return entry.size() > 9 && entry[9] == '0' ? 0 : 1;
        i = end;
    }
    return 1;
}

Bytes Random(std::size_t n, std::uint32_t seed) {
    Bytes b(n, '\0');
    for (char &c : b)
        c = char((seed = seed * 1103515245 + 12345) >> 16);
    return b;
}

struct BadSettings {
    const char *name;
    Bytes bytes;
};

std::vector<BadSettings> Files() {
    std::vector<BadSettings> v;
    for (std::uint32_t seed = 1; seed <= 4; ++seed)
        v.push_back({"random_bytes", Random(512 * seed * seed, seed)});
    // Printable noise without NULs, then the German entry: found.
    Bytes noise;
    for (char c : Random(3000, 9))
        noise += char(33 + (unsigned char)c % 90);
    v.push_back({"long_entries_then_german", noise + "\nLanguage=0\n"});
    v.push_back({"random_bytes_then_a_nul_then_german", Random(700, 5) + '\0' + "\nLanguage=0\n"});
    v.push_back({"german_then_random_bytes", "Language=0\n" + Random(2000, 6)});
    v.push_back({"key_inside_a_long_entry", noise + "Language=0\n"});
    v.push_back({"only_white_space", Bytes(5000, '\n') + Bytes(3000, '\t')});
    v.push_back({"one_entry_of_100000_bytes", Bytes(100000, 'x')});
    return v;
}

class Folder : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/quarzel-hardening-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    // Makes the folder read-only for the tool. Root may write anywhere, so as
    // root the tool then runs as nobody; false when that cannot be done.
    bool MakeReadOnly() {
        asNobody = geteuid() == 0;
        if (asNobody && !CanRunAsNobody())
            return false;
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                 fs::perms::group_exec | fs::perms::others_read |
                                 fs::perms::others_exec);
        return true;
    }
    static constexpr const char *kNoNobody =
        "run as root, and the user nobody cannot run quarzel-replay from this build folder";
    bool asNobody = false;

    void WriteSettings(const Bytes &bytes) {
        std::ofstream(dir / "quarzel.ini", std::ios::binary) << bytes;
    }
    fs::path dir;
};

} // namespace

TEST_F(Folder, settings_file_of_random_bytes_starts_and_stores_the_language) {
    for (const BadSettings &file : Files()) {
        SCOPED_TRACE(file.name);
        WriteSettings(file.bytes);
        ReplayRun run = RunReplay(dir.string(), kSession);
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        ASSERT_EQ(run.lines.size(), 4u);
        EXPECT_EQ(Lang(run.lines[0]), ExpectedLanguage(file.bytes));
        EXPECT_EQ(Lang(run.lines[1]), 0);
        EXPECT_EQ(run.lines.back(), "{\"exit\":0}");
        // The switch to German was stored where the next start finds it.
        ReplayRun again = RunReplay(dir.string(), kStartOnly);
        ASSERT_EQ(again.exitCode, 0) << again.errors;
        EXPECT_EQ(Lang(again.lines.at(0)), 0);
        EXPECT_FALSE(fs::exists(dir / "quarzel.in~"));
    }
}

TEST_F(Folder, read_only_folder_runs_the_game_and_stores_nothing) {
    if (!MakeReadOnly())
        GTEST_SKIP() << kNoNobody;
    ReplayRun run = RunReplay(dir.string(), kSession, asNobody);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 4u);
    EXPECT_EQ(Lang(run.lines[0]), 1);
    EXPECT_EQ(Lang(run.lines[1]), 0) << "the language changes for this run all the same";
    auto v = ParseJson(run.lines[2]);
    ASSERT_TRUE(v);
    EXPECT_EQ((*v)["started"].Int(), 1) << "the game went on";
    EXPECT_TRUE(fs::is_empty(dir)) << "something was stored in the read-only folder";
    ReplayRun again = RunReplay(dir.string(), kStartOnly, asNobody);
    ASSERT_EQ(again.exitCode, 0) << again.errors;
    EXPECT_EQ(Lang(again.lines.at(0)), 1);
}

TEST_F(Folder, read_only_settings_file_in_read_only_folder_is_left_alone) {
    WriteSettings("Sound=on\nLanguage=1\n");
    fs::permissions(dir / "quarzel.ini",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    if (!MakeReadOnly())
        GTEST_SKIP() << kNoNobody;
    ReplayRun run = RunReplay(dir.string(), kSession, asNobody);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Lang(run.lines.at(1)), 0);
    std::ifstream f(dir / "quarzel.ini");
    std::string content((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "Sound=on\nLanguage=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}
