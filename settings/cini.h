// CINI: a small text file used as a store of entries (maximal runs of bytes that are
// neither white space nor NUL). Finds the first entry beginning with a key, deletes an
// entry by rewriting the file through a temporary file, and writes text in place.
#pragma once

#include <fstream>
#include <ios>
#include <string>

class CINI {
public:
    // Opens the file for reading and writing; a missing file is created empty (0644 less
    // the umask). Never truncates. The name is not copied: it must outlive the object.
    explicit CINI(const char *pszFileName);
    ~CINI() = default;

    CINI(const CINI &) = delete;
    CINI &operator=(const CINI &) = delete;

    // Closes and reopens the file; the next read starts at the first entry.
    void Rewind();

    // Reads the next entry into the shared buffer and returns it, or null at the end of
    // the file or at a NUL byte. An entry longer than 79 bytes comes back cut to its first
    // 79; the read position is still directly behind the whole entry.
    const char *ReadEntry();

    // Rewinds and reads until an entry begins with the key (case-sensitive; the whole
    // entry is tested, so long entries and keys work). Null once the entries run out, with
    // the position where reading stopped: the end of the file, or a NUL byte.
    const char *FindEntry(const char *pszKey);

    // Writes the text at the current position; no separator is added.
    void WriteString(const char *pszText);

    // Removes the entry that the last ReadEntry or FindEntry returned, by writing every
    // other entry (whole, one per line) to the temporary file and renaming it over this
    // one; afterwards the file is read again from its start. Returns true when the entry
    // was removed. On any failure the file stays as it was and the temporary file is gone.
    bool DeleteEntry();

    bool IsOpen() const { return m_File.is_open(); }

    // --- Helpers for appending safely (used by the replace sequence) ---

    // True when the read position is the last byte of the file, i.e. reading was not
    // stopped early by a NUL byte.
    bool IsAtEndOfFile();

    // True when the byte just before the read position is not white space, so text written
    // here would join onto the entry before it.
    bool NeedsSeparator();

    // Rewrites the file through the temporary file with every entry that can be read, one
    // per line, dropping whatever lies behind a NUL byte. Returns true on success; on
    // failure the file stays as it was.
    bool Compact();

    // The temporary file's name: this file's name with its last character replaced by '~'.
    std::string TempFileName() const;

    static constexpr int ENTRY_SIZE = 80; // the shared entry buffer, NUL included

private:
    void Open();
    bool ReadRun(std::string &sRun);
    bool Rewrite(std::streamoff posSkip, bool &bSkipped);
    void SyncForReading();

    const char *m_pszFileName;
    std::fstream m_File;
    std::string m_sRun;      // the whole of the last entry read
    bool m_bWriting = false; // the last stream operation was a write

    static char s_szEntry[ENTRY_SIZE];
};
