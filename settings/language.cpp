// LanguageIndex, the German/English text pairs, and the rules that read the stored
// language at start-up and store a new choice in the settings file.
#include "settings/language.h"

#include "settings/cini.h"

int LanguageIndex = LANG_GERMAN;

const char *const g_szMenuName[2] = {"qzlmenu_ger", "qzlmenu_eng"};

const char *const g_szGameOverLabel[2] = {"Ende", "Game Over"};
const char *const g_szScoreLabel[2] = {"Spielstand:", "Score:"};
const char *const g_szBallsLabel[2] = {"B\xE4lle:", "Balls:"};
const char *const g_szHighscoreLabel = "Highscore:";
const char *const g_szBoardTitle = "Quarzel";
const char *const g_szWindowTitle = "QUARZEL";

namespace {
const char NOT_ENOUGH_MEMORY_GER[] = "Zuwenig Speicher !";
const char NOT_ENOUGH_MEMORY_ENG[] = "Not enough memory !";
} // namespace

const char *const g_szCGameError1[4] = {"CGame-Fehler [1]", "CGame-error [1]",
                                        NOT_ENOUGH_MEMORY_GER, NOT_ENOUGH_MEMORY_ENG};
const char *const g_szCMSpriteError1[4] = {"CMSprite-Fehler [1]", "CMSprite-error [1]",
                                           NOT_ENOUGH_MEMORY_GER, NOT_ENOUGH_MEMORY_ENG};

const char *const g_szCSpriteCaption1[2] = {"CSprite-Fehler [1]", "CSprite-error [1]"};
const char *const g_szCSpriteCaption2[2] = {"CSprite-Fehler [2]", "CSprite-error [2]"};
const char *const g_szCSpriteCaption3[2] = {"CSprite-Fehler [3]", "CSprite-error [3]"};
const char *const g_szCSpriteCaption4[2] = {"CSprite-Fehler [4]", "CSprite-error [4]"};
const char *const g_szCSpriteText2[2] = {NOT_ENOUGH_MEMORY_GER, NOT_ENOUGH_MEMORY_ENG};
const char *const g_szCSpriteText3[2] = {"Keine Pixelmap - Programm besser beenden !",
                                         "No pixelmap - better quit program !"};
const char *const g_szCSpriteText4[2] = {"Kein Bitmap gew\xE4hlt - Programm besser beenden !",
                                         "No pixelmap chosen - better quit program !"};

int ReadLanguage(const char *pszFileName) {
    CINI ini(pszFileName);
    const char *pszEntry = ini.FindEntry(LANGUAGE_KEY);
    if (pszEntry == nullptr)
        return LANG_ENGLISH;
    // The entry is at least as long as the key, so this is the character after it or the
    // terminating NUL of an entry that is just the key.
    return pszEntry[9] == '0' ? LANG_GERMAN : LANG_ENGLISH;
}

void StoreLanguage(CINI &ini, int nLanguage) {
    const char *pszLine = nLanguage == LANG_GERMAN ? "Language=0\n" : "Language=1\n";
    if (!ini.IsOpen())
        return;
    while (ini.FindEntry(LANGUAGE_KEY)) {
        // An entry that cannot be removed would be found again forever; store nothing.
        if (!ini.DeleteEntry())
            return;
    }
    // Reading stops at a NUL byte. Text written there would leave the bytes behind it as
    // stray entries, so the unreadable rest is dropped first, as a deletion would.
    if (!ini.IsAtEndOfFile()) {
        if (!ini.Compact() || ini.FindEntry(LANGUAGE_KEY))
            return;
    }
    // A file that does not end in white space would join the new entry onto its last one.
    if (ini.NeedsSeparator())
        ini.WriteString("\n");
    ini.WriteString(pszLine);
}

void StoreLanguage(const char *pszFileName, int nLanguage) {
    CINI ini(pszFileName);
    StoreLanguage(ini, nLanguage);
}
