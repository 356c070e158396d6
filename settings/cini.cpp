// CINI: reading entries, finding them by prefix, writing in place, and deleting an entry
// by rewriting the file through a temporary file that replaces it only once complete.
#include "settings/cini.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

char CINI::s_szEntry[CINI::ENTRY_SIZE] = {};

namespace {

constexpr std::ios::openmode FILE_MODE = std::ios::in | std::ios::out | std::ios::binary;

bool IsWhite(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

CINI::CINI(const char *pszFileName) : m_pszFileName(pszFileName) {
    Open();
}

void CINI::Open() {
    if (m_File.is_open())
        m_File.close();
    m_File.clear();
    m_bWriting = false;
    if (m_pszFileName == nullptr || *m_pszFileName == '\0') {
        m_File.setstate(std::ios::failbit);
        return;
    }
    // The stream cannot choose the permission of a file it creates, so a missing file is
    // created here first. O_EXCL leaves an existing file (or anything else of that name)
    // alone: opening never truncates.
    int fd = ::open(m_pszFileName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
    // Fails for a read-only file, a directory or a missing folder: the stream stays
    // unopened and the file counts as empty.
    m_File.open(m_pszFileName, FILE_MODE);
}

void CINI::Rewind() {
    Open();
}

void CINI::SyncForReading() {
    // A file stream needs a seek between writing and reading.
    if (m_bWriting) {
        m_File.seekg(m_File.tellp());
        m_bWriting = false;
    }
}

bool CINI::ReadRun(std::string &sRun) {
    sRun.clear();
    if (!m_File.is_open() || m_File.fail())
        return false;
    SyncForReading();
    std::streambuf *pBuf = m_File.rdbuf();
    constexpr int END = std::char_traits<char>::eof();
    int c = pBuf->sgetc();
    while (c != END && IsWhite(c))
        c = pBuf->snextc();
    // The byte that ends the entry (white space, NUL) is left unread.
    while (c != END && c != '\0' && !IsWhite(c)) {
        sRun.push_back(static_cast<char>(c));
        c = pBuf->snextc();
    }
    return !sRun.empty();
}

const char *CINI::ReadEntry() {
    if (!ReadRun(m_sRun)) {
        m_File.clear();
        return nullptr;
    }
    // Entries longer than the buffer are cut; the position stays behind the whole entry,
    // so finding and deleting still treat it as one.
    size_t nLen = m_sRun.size() < ENTRY_SIZE - 1 ? m_sRun.size() : ENTRY_SIZE - 1;
    std::memcpy(s_szEntry, m_sRun.data(), nLen);
    s_szEntry[nLen] = '\0';
    return s_szEntry;
}

const char *CINI::FindEntry(const char *pszKey) {
    const char *pszPrefix = pszKey != nullptr ? pszKey : "";
    size_t nKey = std::strlen(pszPrefix);
    Rewind();
    while (const char *pszEntry = ReadEntry()) {
        if (m_sRun.size() >= nKey && std::memcmp(m_sRun.data(), pszPrefix, nKey) == 0)
            return pszEntry;
    }
    return nullptr;
}

void CINI::WriteString(const char *pszText) {
    if (pszText == nullptr || !m_File.is_open())
        return;
    if (!m_bWriting) {
        // Switch the stream from reading to writing at the position reached.
        std::streampos pos = m_File.tellg();
        if (pos != std::streampos(-1))
            m_File.seekp(pos);
    }
    m_File.write(pszText, static_cast<std::streamsize>(std::strlen(pszText)));
    m_bWriting = true;
}

bool CINI::DeleteEntry() {
    std::streamoff pos = -1;
    if (m_File.is_open() && !m_File.fail())
        pos = m_File.tellg();
    if (pos <= 0) {
        Rewind();
        return false;
    }
    bool bSkipped = false;
    bool bDone = Rewrite(pos, bSkipped);
    return bDone && bSkipped;
}

bool CINI::Compact() {
    if (!m_File.is_open())
        return false;
    bool bSkipped = false;
    return Rewrite(-1, bSkipped);
}

std::string CINI::TempFileName() const {
    if (m_pszFileName == nullptr || *m_pszFileName == '\0')
        return {};
    std::string sTemp = m_pszFileName;
    sTemp.back() = '~';
    return sTemp;
}

bool CINI::Rewrite(std::streamoff posSkip, bool &bSkipped) {
    bSkipped = false;
    std::string sTemp = TempFileName();
    // A name that already ends in '~' would be its own temporary file.
    if (sTemp.empty() || sTemp == m_pszFileName) {
        Rewind();
        return false;
    }
    Rewind(); // writes out pending text and starts reading at the first entry
    if (!m_File.is_open())
        return false;

    // A temporary file left over from an earlier run is replaced by a fresh one, which
    // takes over the permission of the file it will replace.
    struct stat stFile {};
    bool bHaveMode = ::stat(m_pszFileName, &stFile) == 0;
    ::unlink(sTemp.c_str());
    int fd = ::open(sTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        Rewind();
        return false;
    }
    if (bHaveMode)
        ::fchmod(fd, stFile.st_mode & 07777);
    ::close(fd);

    bool bWritten = false;
    {
        std::ofstream tempFile(sTemp, std::ios::out | std::ios::binary);
        std::string sRun;
        while (ReadRun(sRun)) {
            if (posSkip >= 0 && std::streamoff(m_File.tellg()) == posSkip) {
                bSkipped = true;
                continue;
            }
            tempFile.write(sRun.data(), static_cast<std::streamsize>(sRun.size()));
            tempFile.put('\n');
        }
        m_File.clear();
        tempFile.close();
        bWritten = !tempFile.fail();
    }
    if (bWritten) {
        // Put the new contents on the disk before the name points at them.
        int fdSync = ::open(sTemp.c_str(), O_RDONLY | O_CLOEXEC);
        bWritten = fdSync >= 0 && ::fsync(fdSync) == 0;
        if (fdSync >= 0)
            ::close(fdSync);
    }
    m_File.close();
    // rename() replaces the old file in one step: at every moment the name holds either
    // the complete old file or the complete new one.
    bool bReplaced = bWritten && std::rename(sTemp.c_str(), m_pszFileName) == 0;
    if (!bReplaced)
        ::unlink(sTemp.c_str());
    Rewind();
    return bReplaced;
}

bool CINI::IsAtEndOfFile() {
    if (!m_File.is_open())
        return true;
    SyncForReading();
    std::streambuf *pBuf = m_File.rdbuf();
    std::streampos posNow = pBuf->pubseekoff(0, std::ios::cur, std::ios::in);
    std::streampos posEnd = pBuf->pubseekoff(0, std::ios::end, std::ios::in);
    pBuf->pubseekpos(posNow, std::ios::in);
    return posNow == posEnd;
}

bool CINI::NeedsSeparator() {
    if (!m_File.is_open())
        return false;
    SyncForReading();
    std::streambuf *pBuf = m_File.rdbuf();
    std::streampos posNow = pBuf->pubseekoff(0, std::ios::cur, std::ios::in);
    if (posNow <= std::streampos(0))
        return false;
    pBuf->pubseekpos(posNow - std::streamoff(1), std::ios::in);
    int c = pBuf->sgetc();
    pBuf->pubseekpos(posNow, std::ios::in);
    return c != std::char_traits<char>::eof() && !IsWhite(c);
}
