// Tests of the stored language: the start-up read rule, the replace sequence that stores
// a new choice, and the files that cannot be written (read-only file or folder, a file
// that cannot be replaced), run as an unprivileged user so the rights really apply.
#include "settings/cini.h"
#include "settings/language.h"
#include "settings_fixture.h"

#include <cstring>
#include <optional>
#include <string>

using namespace settings_test;

namespace {

const char *const INI = "quarzel.ini";

std::string Nul(const char *psz, size_t n) {
    return std::string(psz, n);
}

} // namespace

TEST(LanguageTexts, pairs_are_german_first_and_latin1) {
    EXPECT_EQ(LANG_GERMAN, 0);
    EXPECT_EQ(LANG_ENGLISH, 1);
    EXPECT_STREQ(g_szMenuName[LANG_GERMAN], "qzlmenu_ger");
    EXPECT_STREQ(g_szMenuName[LANG_ENGLISH], "qzlmenu_eng");
    EXPECT_STREQ(g_szBallsLabel[LANG_GERMAN], "B\xE4lle:");
    EXPECT_EQ(std::strlen(g_szBallsLabel[LANG_GERMAN]), 6u); // one byte for the umlaut
    EXPECT_STREQ(g_szCSpriteText4[LANG_GERMAN],
                 "Kein Bitmap gew\xE4hlt - Programm besser beenden !");
    // Four-entry tables: captions first, texts at [LanguageIndex + 2].
    EXPECT_STREQ(g_szCGameError1[LANG_ENGLISH], "CGame-error [1]");
    EXPECT_STREQ(g_szCGameError1[LANG_GERMAN + 2], "Zuwenig Speicher !");
    EXPECT_STREQ(g_szCMSpriteError1[LANG_ENGLISH + 2], "Not enough memory !");
}

TEST_F(SettingsTest, start_up_read_gives_german_only_for_a_zero_after_the_key) {
    struct Case {
        const char *name;
        std::optional<std::string> bytes; // no value: no file
        int language;
    };
    const Case cases[] = {
        {"missing file", std::nullopt, LANG_ENGLISH},
        {"empty file", "", LANG_ENGLISH},
        {"zero", "Language=0\n", LANG_GERMAN},
        {"one", "Language=1\n", LANG_ENGLISH},
        {"other digit", "Language=7\n", LANG_ENGLISH},
        {"letter", "Language=de\n", LANG_ENGLISH},
        {"nothing after the key", "Language=\n", LANG_ENGLISH},
        {"space between key and digit", "Language= 0\n", LANG_ENGLISH},
        {"lower-case key", "language=0\n", LANG_ENGLISH},
        {"zero followed by more", "Language=0x\n", LANG_GERMAN},
        {"first of several decides", "Language=0\nLanguage=1\n", LANG_GERMAN},
        {"first of several decides, other order", "Language=1 Language=0", LANG_ENGLISH},
        {"among other entries, no line end", "Sound=on Language=0", LANG_GERMAN},
        {"behind a nul byte", Nul("a\0Language=0\n", 13), LANG_ENGLISH},
        {"long entry", "Language=0" + std::string(120, 'z'), LANG_GERMAN},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        if (c.bytes)
            WriteFile(INI, *c.bytes);
        EXPECT_EQ(ReadLanguage(INI), c.language);
        // Reading leaves the file as it was, and a missing one empty.
        EXPECT_EQ(ReadFile(INI), c.bytes.value_or(""));
    }
    EXPECT_EQ(Mode(INI), 0644u);
}

TEST_F(SettingsTest, storing_a_language_leaves_exactly_one_entry_at_the_end) {
    struct Case {
        const char *name;
        std::optional<std::string> bytes; // no value: no file
        int language;
        std::string after;
    };
    const Case cases[] = {
        {"missing file", std::nullopt, LANG_ENGLISH, "Language=1\n"},
        {"empty file", "", LANG_GERMAN, "Language=0\n"},
        {"replaces the old choice", "Language=0\n", LANG_ENGLISH, "Language=1\n"},
        {"removes every entry with the key", "Language=0\nLanguage=1\nLanguage=\n", LANG_GERMAN,
         "Language=0\n"},
        {"others survive one per line", "Sound=off Language=0 Volume=3\n", LANG_ENGLISH,
         "Sound=off\nVolume=3\nLanguage=1\n"},
        {"without the key the file is only appended to", "a  b\n\n", LANG_ENGLISH,
         "a  b\n\nLanguage=1\n"},
        {"last byte not white space gets a line end first", "Sound=off", LANG_GERMAN,
         "Sound=off\nLanguage=0\n"},
        {"entry without line end replaced", "Language=0", LANG_ENGLISH, "Language=1\n"},
        {"lower-case key is another entry", "language=0\n", LANG_ENGLISH,
         "language=0\nLanguage=1\n"},
        {"unreadable rest behind a nul byte is dropped", Nul("a\0junk junk junk junk", 21),
         LANG_GERMAN, "a\nLanguage=0\n"},
        {"nul byte after the key", Nul("Language=0 b\0Language=0 c", 25), LANG_ENGLISH,
         "b\nLanguage=1\n"},
        {"long entry survives whole", std::string(200, 'X') + " Language=0", LANG_ENGLISH,
         std::string(200, 'X') + "\nLanguage=1\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        if (c.bytes)
            WriteFile(INI, *c.bytes);
        StoreLanguage(INI, c.language);
        EXPECT_EQ(ReadFile(INI), c.after);
        EXPECT_FALSE(Exists("quarzel.in~"));
        EXPECT_EQ(ReadLanguage(INI), c.language);
    }
}

TEST_F(SettingsTest, switching_back_and_forth_keeps_one_entry_on_its_own_line) {
    WriteFile(INI, "Sound=on");
    StoreLanguage(INI, LANG_GERMAN);
    EXPECT_EQ(ReadFile(INI), "Sound=on\nLanguage=0\n");
    {
        // The sequence as a language command runs it, on the caller's object.
        CINI ini(INI);
        StoreLanguage(ini, LANG_ENGLISH);
    }
    EXPECT_EQ(ReadFile(INI), "Sound=on\nLanguage=1\n");
    StoreLanguage(INI, LANG_GERMAN);
    EXPECT_EQ(ReadFile(INI), "Sound=on\nLanguage=0\n");
}

TEST_F(SettingsTest, a_left_over_temporary_file_is_replaced_and_gone_after_storing) {
    WriteFile("quarzel.in~", "Language=1 leftover\n");
    WriteFile(INI, "Language=1\n");
    StoreLanguage(INI, LANG_GERMAN);
    EXPECT_EQ(ReadFile(INI), "Language=0\n");
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, a_directory_named_like_the_settings_file_stores_nothing) {
    std::filesystem::create_directory(INI);
    EXPECT_EQ(ReadLanguage(INI), LANG_ENGLISH);
    StoreLanguage(INI, LANG_GERMAN);
    EXPECT_TRUE(std::filesystem::is_directory(INI));
    EXPECT_TRUE(std::filesystem::is_empty(INI));
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, a_read_only_file_reads_as_empty_and_stays_unchanged) {
    const std::string sBytes = "Language=0\nSound=on\n";
    WriteFile(INI, sBytes);
    ::chmod(INI, 0444);
    if (IsRoot()) {
        // The folder and the file belong to the unprivileged user; only the bits say no.
        ASSERT_EQ(::chown(".", NOBODY, NOBODY), 0);
        ASSERT_EQ(::chown(INI, NOBODY, NOBODY), 0);
    }
    EXPECT_EQ(RunUnprivileged([] { return ReadLanguage(INI); }), LANG_ENGLISH);
    EXPECT_EQ(RunUnprivileged([] {
                  CINI ini(INI);
                  int nOpen = ini.IsOpen() ? 10 : 0;
                  StoreLanguage(ini, LANG_ENGLISH);
                  return nOpen;
              }),
              0);
    EXPECT_EQ(ReadFile(INI), sBytes);
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, a_read_only_folder_keeps_its_settings_file_unchanged) {
    const std::string sBytes = "Language=0\nSound=on\n";
    WriteFile(INI, sBytes);
    if (IsRoot())
        ASSERT_EQ(::chown(INI, NOBODY, NOBODY), 0); // writable file, folder owned by root
    else
        ::chmod(".", 0555);
    // The file itself can be opened, so it is read; but the entry cannot be removed
    // without a temporary file, so nothing is stored and nothing is lost.
    EXPECT_EQ(RunUnprivileged([] { return ReadLanguage(INI); }), LANG_GERMAN);
    EXPECT_EQ(RunUnprivileged([] {
                  StoreLanguage(INI, LANG_ENGLISH);
                  return 0;
              }),
              0);
    EXPECT_EQ(ReadFile(INI), sBytes);
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, a_read_only_folder_without_a_settings_file_stays_empty) {
    if (!IsRoot())
        ::chmod(".", 0555);
    EXPECT_EQ(RunUnprivileged([] { return ReadLanguage(INI); }), LANG_ENGLISH);
    EXPECT_EQ(RunUnprivileged([] {
                  StoreLanguage(INI, LANG_GERMAN);
                  return 0;
              }),
              0);
    EXPECT_FALSE(Exists(INI));
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, a_file_that_cannot_be_replaced_stays_unchanged_and_the_temporary_file_goes) {
    if (!IsRoot())
        GTEST_SKIP() << "needs a file owned by another user in a sticky folder; run as root";
    // In a sticky folder anyone may create the temporary file, but only the owner of the
    // settings file may rename over it: the rename fails after a complete write.
    const std::string sBytes = "a Language=0 b\n";
    WriteFile(INI, sBytes);
    ::chmod(INI, 0666);
    ::chmod(".", 01777);
    EXPECT_EQ(RunUnprivileged([] {
                  CINI ini(INI);
                  if (!ini.IsOpen() || ini.FindEntry(LANGUAGE_KEY) == nullptr)
                      return 1;
                  if (ini.DeleteEntry())
                      return 2;
                  StoreLanguage(ini, LANG_ENGLISH);
                  return 0;
              }),
              0);
    EXPECT_EQ(ReadFile(INI), sBytes);
    EXPECT_FALSE(Exists("quarzel.in~"));
}
