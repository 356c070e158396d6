// Tests of CINI on real files: reading entries, finding by prefix, deleting by rewrite,
// the shared entry buffer, long entries and the files it cannot open.
#include "settings/cini.h"
#include "settings_fixture.h"

#include <string>
#include <vector>

using namespace settings_test;

namespace {

const char *const INI = "quarzel.ini";

std::vector<std::string> AllEntries(CINI &ini) {
    std::vector<std::string> entries;
    ini.Rewind();
    while (const char *pszEntry = ini.ReadEntry())
        entries.push_back(pszEntry);
    return entries;
}

} // namespace

TEST_F(SettingsTest, missing_file_is_created_empty_with_mode_0644) {
    {
        CINI ini(INI);
        EXPECT_TRUE(ini.IsOpen());
        EXPECT_EQ(ini.FindEntry("Language="), nullptr);
    }
    ASSERT_TRUE(Exists(INI));
    EXPECT_EQ(ReadFile(INI), "");
    EXPECT_EQ(Mode(INI), 0644u);
}

TEST_F(SettingsTest, entries_are_runs_between_white_space_and_end_at_a_nul_byte) {
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"only white space", " \t\n\v\f\r", {}},
        {"every kind of white space separates",
         "a b\tc\nd\ve\ff\rg",
         {"a", "b", "c", "d", "e", "f", "g"}},
        {"leading and trailing blanks", "\n\n  Language=1  \r\n", {"Language=1"}},
        {"key and digit apart are two entries", "Language= 0", {"Language=", "0"}},
        {"nul ends reading", std::string("a b\0c d", 7), {"a", "b"}},
        {"nul right behind an entry", std::string("ab\0cd", 5), {"ab"}},
        {"nul first", std::string("\0a", 2), {}},
        {"bytes above 127 belong to entries", "B\xE4lle:3", {"B\xE4lle:3"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WriteFile(INI, c.bytes);
        CINI ini(INI);
        EXPECT_EQ(AllEntries(ini), c.entries);
        // After the last entry reading stays usable and keeps returning null.
        EXPECT_EQ(ini.ReadEntry(), nullptr);
    }
}

TEST_F(SettingsTest, find_entry_matches_a_case_sensitive_prefix) {
    struct Case {
        const char *name;
        std::string bytes;
        const char *key;
        const char *found; // null: nothing found
    };
    const Case cases[] = {
        {"exact entry", "Language=1\n", "Language=", "Language=1"},
        {"longer value", "Sound=on Language=1xyz\n", "Language=", "Language=1xyz"},
        {"key alone", "Language= 0\n", "Language=", "Language="},
        {"lower case is another key", "language=0\n", "Language=", nullptr},
        {"word without the equals sign", "Language\n", "Language=", nullptr},
        {"first of several", "Language=0\nLanguage=1\n", "Language=", "Language=0"},
        {"empty key finds the first entry", "  first second", "", "first"},
        {"empty file", "", "", nullptr},
        {"behind a nul byte", std::string("a\0Language=0", 12), "Language=", nullptr},
        {"key inside an entry is no prefix", "xLanguage=0", "Language=", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WriteFile(INI, c.bytes);
        CINI ini(INI);
        const char *pszFound = ini.FindEntry(c.key);
        if (c.found == nullptr)
            EXPECT_EQ(pszFound, nullptr);
        else
            EXPECT_STREQ(pszFound, c.found);
    }
}

TEST_F(SettingsTest, delete_entry_removes_the_found_entry_and_writes_one_entry_per_line) {
    struct Case {
        const char *name;
        std::string bytes;
        const char *key;
        std::string after;
    };
    const Case cases[] = {
        {"others on one line survive as lines", "a b Language=0 c", "Language=", "a\nb\nc\n"},
        {"only entry leaves zero bytes", "Language=1\n", "Language=", ""},
        {"last entry without line end", "x\nLanguage=1", "Language=", "x\n"},
        {"only the first of two goes", "Language=0\nLanguage=1\n", "Language=", "Language=1\n"},
        {"blank lines and indentation go", "\n\n   a\n\n\tLanguage=0\n\n b  c\n",
         "Language=", "a\nb\nc\n"},
        {"entries behind a nul byte are dropped", std::string("a Language=0 b\0c d", 18),
         "Language=", "a\nb\n"},
        {"first entry", "Language=0 a b", "Language=", "a\nb\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        WriteFile(INI, c.bytes);
        {
            CINI ini(INI);
            ASSERT_NE(ini.FindEntry(c.key), nullptr);
            EXPECT_TRUE(ini.DeleteEntry());
            // The file is read again from its start.
            const char *pszFirst = ini.ReadEntry();
            std::string sFirst = c.after.substr(0, c.after.find('\n'));
            if (sFirst.empty())
                EXPECT_EQ(pszFirst, nullptr);
            else
                EXPECT_STREQ(pszFirst, sFirst.c_str());
        }
        EXPECT_EQ(ReadFile(INI), c.after);
        EXPECT_FALSE(Exists("quarzel.in~"));
    }
}

TEST_F(SettingsTest, delete_entry_at_position_zero_leaves_the_file_unchanged) {
    const std::string sBytes = "  Language=0 \n\n x";
    WriteFile(INI, sBytes);
    {
        CINI ini(INI);
        EXPECT_FALSE(ini.DeleteEntry()); // straight after construction
        ini.FindEntry("x");
        ini.Rewind();
        EXPECT_FALSE(ini.DeleteEntry()); // straight after Rewind
        EXPECT_STREQ(ini.ReadEntry(), "Language=0");
    }
    EXPECT_EQ(ReadFile(INI), sBytes);
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, left_over_temporary_file_is_overwritten_and_gone_after_a_delete) {
    WriteFile("quarzel.in~", "Stale=1 Language=0 junk junk junk junk\n");
    WriteFile(INI, "Keep=1\nLanguage=1\n");
    {
        CINI ini(INI);
        ASSERT_NE(ini.FindEntry("Language="), nullptr);
        EXPECT_TRUE(ini.DeleteEntry());
    }
    EXPECT_EQ(ReadFile(INI), "Keep=1\n");
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, temporary_file_name_replaces_the_last_character) {
    CINI ini(INI);
    EXPECT_EQ(ini.TempFileName(), "quarzel.in~");
    const std::string sPath = m_sDir + "/sub.ini";
    CINI other(sPath.c_str());
    EXPECT_EQ(other.TempFileName(), m_sDir + "/sub.in~");
}

TEST_F(SettingsTest, a_name_ending_in_tilde_is_never_rewritten_onto_itself) {
    const char *pszName = "backup.ini~";
    WriteFile(pszName, "a Language=0 b\n");
    {
        CINI ini(pszName);
        ASSERT_NE(ini.FindEntry("Language="), nullptr);
        EXPECT_FALSE(ini.DeleteEntry());
    }
    EXPECT_EQ(ReadFile(pszName), "a Language=0 b\n");
}

TEST_F(SettingsTest, the_entry_buffer_is_shared_by_every_object) {
    WriteFile(INI, "first\n");
    WriteFile("other.ini", "second\n");
    CINI ini(INI);
    CINI other("other.ini");
    const char *pszFirst = ini.ReadEntry();
    ASSERT_STREQ(pszFirst, "first");
    const char *pszSecond = other.ReadEntry();
    EXPECT_EQ(pszFirst, pszSecond);
    EXPECT_STREQ(pszFirst, "second");
}

TEST_F(SettingsTest, a_long_entry_reads_cut_to_79_bytes_but_survives_a_rewrite_whole) {
    const std::string sLong = "Path=" + std::string(200, 'x') + "END";
    WriteFile(INI, "a " + sLong + " Language=0 b\n");
    {
        CINI ini(INI);
        EXPECT_EQ(ini.ReadEntry(), std::string("a"));
        const char *pszCut = ini.ReadEntry();
        ASSERT_NE(pszCut, nullptr);
        EXPECT_EQ(std::string(pszCut), sLong.substr(0, 79));
        // The position is behind the whole entry: the next read is the next entry.
        EXPECT_STREQ(ini.ReadEntry(), "Language=0");
        EXPECT_TRUE(ini.DeleteEntry());
    }
    EXPECT_EQ(ReadFile(INI), "a\n" + sLong + "\nb\n");
    {
        // Finding the long entry by its key and deleting it removes all of it.
        CINI ini(INI);
        ASSERT_NE(ini.FindEntry("Path="), nullptr);
        EXPECT_TRUE(ini.DeleteEntry());
    }
    EXPECT_EQ(ReadFile(INI), "a\nb\n");
}

TEST_F(SettingsTest, a_key_is_tested_against_the_whole_of_a_long_entry) {
    const std::string sKey = std::string(100, 'k') + "=";
    WriteFile(INI, "a " + sKey + "1\n");
    CINI ini(INI);
    EXPECT_NE(ini.FindEntry(sKey.c_str()), nullptr);
    EXPECT_EQ(ini.FindEntry((sKey + "2").c_str()), nullptr);
}

TEST_F(SettingsTest, a_file_name_longer_than_79_characters_works) {
    const std::string sName = std::string(150, 'n') + ".ini";
    WriteFile(sName, "Language=0 b\n");
    {
        CINI ini(sName.c_str());
        ASSERT_NE(ini.FindEntry("Language="), nullptr);
        EXPECT_TRUE(ini.DeleteEntry());
    }
    EXPECT_EQ(ReadFile(sName), "b\n");
    EXPECT_FALSE(Exists(std::string(150, 'n') + ".in~"));
}

TEST_F(SettingsTest, write_string_writes_at_the_current_position) {
    WriteFile(INI, "Language=0 tail");
    {
        CINI ini(INI);
        // After an entry was found, text replaces the bytes behind it.
        ASSERT_NE(ini.FindEntry("Language="), nullptr);
        ini.WriteString(" TAIL");
        // After a search that found nothing, the position is the end: text is appended,
        // joining onto a last entry that has no line end after it.
        EXPECT_EQ(ini.FindEntry("none"), nullptr);
        ini.WriteString("+more\n");
        ini.WriteString(nullptr);
    }
    EXPECT_EQ(ReadFile(INI), "Language=0 TAIL+more\n");
}

TEST_F(SettingsTest, a_rewrite_keeps_the_permission_of_the_file) {
    WriteFile(INI, "Secret=1 Language=0\n");
    ::chmod(INI, 0600);
    {
        CINI ini(INI);
        ASSERT_NE(ini.FindEntry("Language="), nullptr);
        EXPECT_TRUE(ini.DeleteEntry());
    }
    EXPECT_EQ(ReadFile(INI), "Secret=1\n");
    EXPECT_EQ(Mode(INI), 0600u);
}

TEST_F(SettingsTest, a_directory_of_that_name_counts_as_an_empty_file_and_stays) {
    std::filesystem::create_directory(INI);
    {
        CINI ini(INI);
        EXPECT_FALSE(ini.IsOpen());
        EXPECT_EQ(ini.ReadEntry(), nullptr);
        EXPECT_EQ(ini.FindEntry(""), nullptr);
        ini.WriteString("Language=1\n");
        EXPECT_FALSE(ini.DeleteEntry());
        EXPECT_FALSE(ini.Compact());
    }
    EXPECT_TRUE(std::filesystem::is_directory(INI));
    EXPECT_FALSE(Exists("quarzel.in~"));
}

TEST_F(SettingsTest, a_temporary_file_that_cannot_be_created_leaves_the_file_as_it_was) {
    // A directory in the temporary file's place cannot be replaced by a file.
    std::filesystem::create_directory("quarzel.in~");
    WriteFile("quarzel.in~/inside", "x");
    WriteFile(INI, "a Language=0 b");
    {
        CINI ini(INI);
        ASSERT_NE(ini.FindEntry("Language="), nullptr);
        EXPECT_FALSE(ini.DeleteEntry());
        EXPECT_STREQ(ini.ReadEntry(), "a"); // rewound all the same
    }
    EXPECT_EQ(ReadFile(INI), "a Language=0 b");
    EXPECT_TRUE(std::filesystem::is_directory("quarzel.in~"));
}
