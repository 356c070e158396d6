// The user-interface language: the global LanguageIndex, every German/English text pair
// (labels, menu names, message-box captions and texts) and the two settings-file rules:
// reading the stored language at start-up and storing a new choice.
//
// Texts are Latin-1 byte strings. Pick a pair's text with [LanguageIndex]. The two
// four-entry message tables hold {German caption, English caption, German text, English
// text}: caption [LanguageIndex], text [LanguageIndex + 2].
//
//   g_szMenuName        {"qzlmenu_ger", "qzlmenu_eng"}  menu resource to create the window with
//   g_szGameOverLabel   {"Ende", "Game Over"}           board, when a game ends
//   g_szScoreLabel      {"Spielstand:", "Score:"}       status panel
//   g_szBallsLabel      {"Baelle:", "Balls:"}           status panel (a-umlaut as Latin-1)
//   g_szHighscoreLabel  "Highscore:"                    status panel, same in both languages
//   g_szBoardTitle      "Quarzel"                       board title, same in both languages
//   g_szWindowTitle     "QUARZEL"                       main window title
//   g_szCGameError1     four-entry table: fonts cannot be allocated (fatal)
//   g_szCMSpriteError1  four-entry table: a sprite group's array cannot be allocated (fatal)
//   g_szCSpriteCaption1..4  caption pairs "CSprite-Fehler [n]" / "CSprite-error [n]"
//   g_szCSpriteText2..4     text pairs of CSprite errors 2..4 (error 1's text is the
//                           resource name that failed to load, the same in both languages)
#pragma once

class CINI;

constexpr int LANG_GERMAN = 0;
constexpr int LANG_ENGLISH = 1;

// The language in use: 0 when the process starts, set once by the main window from the
// settings file, and afterwards changed only by the two language commands.
extern int LanguageIndex;

// The settings file (in the current directory) and its one key.
inline constexpr const char *SETTINGS_FILE_NAME = "quarzel.ini";
inline constexpr const char *LANGUAGE_KEY = "Language=";

extern const char *const g_szMenuName[2];

extern const char *const g_szGameOverLabel[2];
extern const char *const g_szScoreLabel[2];
extern const char *const g_szBallsLabel[2];
extern const char *const g_szHighscoreLabel;
extern const char *const g_szBoardTitle;
extern const char *const g_szWindowTitle;

extern const char *const g_szCGameError1[4];
extern const char *const g_szCMSpriteError1[4];

extern const char *const g_szCSpriteCaption1[2];
extern const char *const g_szCSpriteCaption2[2];
extern const char *const g_szCSpriteCaption3[2];
extern const char *const g_szCSpriteCaption4[2];
extern const char *const g_szCSpriteText2[2];
extern const char *const g_szCSpriteText3[2];
extern const char *const g_szCSpriteText4[2];

// The language stored in the settings file: LANG_GERMAN when the first entry beginning
// with "Language=" has '0' right after the key, LANG_ENGLISH in every other case (another
// character, nothing after the key, no such entry, a file that cannot be opened).
// Does not set LanguageIndex; the caller stores the result.
int ReadLanguage(const char *pszFileName = SETTINGS_FILE_NAME);

// Stores a language choice: removes every entry beginning with "Language=", then appends
// "Language=0\n" (LANG_GERMAN) or "Language=1\n" (any other value) as a line of its own.
// Nothing is stored when the file cannot be opened or an entry cannot be removed; the file
// is never lost or left half-written.
void StoreLanguage(CINI &ini, int nLanguage);
void StoreLanguage(const char *pszFileName, int nLanguage);
