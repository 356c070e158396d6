// libFuzzer target for the settings file: the input becomes quarzel.ini in a private
// folder, then the start-up read and the replace sequence run on it. Aborts when the
// stored file breaks the rules: every entry before the first NUL byte that does not begin
// with "Language=" is kept whole and in order, and the key is there exactly once, last.
#include "settings/cini.h"
#include "settings/language.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char *const INI = "quarzel.ini";
const char *const TEMP = "quarzel.in~";
const std::string KEY = "Language=";

void Fail(const char *pszWhat, const std::string &sInput, const std::string &sResult) {
    std::fprintf(stderr, "settings invariant broken: %s\ninput  (%zu bytes)\nresult (%zu bytes)\n",
                 pszWhat, sInput.size(), sResult.size());
    std::abort();
}

void WriteFile(const char *pszName, const std::string &sBytes) {
    std::ofstream out(pszName, std::ios::binary | std::ios::trunc);
    out.write(sBytes.data(), static_cast<std::streamsize>(sBytes.size()));
}

std::string ReadFile(const char *pszName) {
    std::ifstream in(pszName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The entries as the file format defines them, whole, up to the first NUL byte.
std::vector<std::string> Entries(const std::string &sBytes) {
    std::vector<std::string> entries;
    std::string sRun;
    for (char c : sBytes) {
        if (c == '\0')
            break;
        if (IsWhite(c)) {
            if (!sRun.empty())
                entries.push_back(sRun);
            sRun.clear();
        } else {
            sRun.push_back(c);
        }
    }
    if (!sRun.empty())
        entries.push_back(sRun);
    return entries;
}

bool HasKey(const std::string &sEntry) {
    return sEntry.compare(0, KEY.size(), KEY) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const char *pszBase = std::getenv("TMPDIR");
    std::string sTemplate = std::string(pszBase != nullptr ? pszBase : "/tmp") + "/qz-fuzz-XXXXXX";
    if (::mkdtemp(sTemplate.data()) == nullptr || ::chdir(sTemplate.c_str()) != 0) {
        std::perror("fuzz_settings: private folder");
        std::abort();
    }
    ::umask(022);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize) {
    const std::string sInput(reinterpret_cast<const char *>(pData), nSize);
    const int nStore = nSize > 0 && (pData[0] & 1) ? LANG_GERMAN : LANG_ENGLISH;
    WriteFile(INI, sInput);
    // Now and then a temporary file left over from an earlier run.
    const bool bLeftOver = nSize > 0 && (pData[0] & 2);
    const std::string sLeftOver = sInput.substr(nSize / 2);
    if (bLeftOver)
        WriteFile(TEMP, sLeftOver);
    else
        ::unlink(TEMP);

    const std::vector<std::string> before = Entries(sInput);
    int nExpectRead = LANG_ENGLISH;
    std::vector<std::string> kept;
    bool bKeyFound = false;
    for (const std::string &sEntry : before) {
        if (!HasKey(sEntry)) {
            kept.push_back(sEntry);
        } else if (!bKeyFound) {
            bKeyFound = true;
            nExpectRead = sEntry.size() > KEY.size() && sEntry[KEY.size()] == '0' ? LANG_GERMAN
                                                                                  : LANG_ENGLISH;
        }
    }

    if (ReadLanguage(INI) != nExpectRead)
        Fail("start-up read", sInput, ReadFile(INI));
    if (ReadFile(INI) != sInput)
        Fail("reading changed the file", sInput, ReadFile(INI));

    StoreLanguage(INI, nStore);

    const std::string sResult = ReadFile(INI);
    const std::string sLine = nStore == LANG_GERMAN ? "Language=0" : "Language=1";
    std::vector<std::string> expect = kept;
    expect.push_back(sLine);
    if (Entries(sResult) != expect)
        Fail("entries after storing", sInput, sResult);
    if (sResult.find('\0') != std::string::npos)
        Fail("a NUL byte is left where the new entry cannot be read", sInput, sResult);

    // The exact bytes: without the key and without a NUL byte the file is only appended
    // to (with a line end first when it does not end in white space); otherwise it was
    // rewritten one entry per line, through the temporary file, which is gone after.
    const bool bRewritten = bKeyFound || sInput.find('\0') != std::string::npos;
    if (bRewritten && access(TEMP, F_OK) == 0)
        Fail("temporary file left behind", sInput, sResult);
    if (!bRewritten && bLeftOver && ReadFile(TEMP) != sLeftOver)
        Fail("an append touched the temporary file", sInput, sResult);
    std::string sExact;
    if (!bRewritten) {
        sExact = sInput;
        if (!sExact.empty() && !IsWhite(sExact.back()))
            sExact += '\n';
    } else {
        for (const std::string &sEntry : kept)
            sExact += sEntry + '\n';
    }
    sExact += sLine + '\n';
    if (sResult != sExact)
        Fail("bytes after storing", sInput, sResult);

    if (ReadLanguage(INI) != nStore)
        Fail("stored language does not read back", sInput, sResult);
    return 0;
}
