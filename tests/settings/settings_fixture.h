// Test fixture for the settings file: every test runs in its own fresh folder under /tmp
// (the working directory while it runs), plus helpers to write and read files byte-exact
// and to run code as an unprivileged user, so permission bits really stop writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace settings_test {

constexpr uid_t NOBODY = 65534;

inline void WriteFile(const std::string &sName, const std::string &sBytes) {
    std::ofstream out(sName, std::ios::binary | std::ios::trunc);
    out.write(sBytes.data(), static_cast<std::streamsize>(sBytes.size()));
}

inline std::string ReadFile(const std::string &sName) {
    std::ifstream in(sName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string &sName) {
    struct stat st {};
    return ::lstat(sName.c_str(), &st) == 0;
}

inline mode_t Mode(const std::string &sName) {
    struct stat st {};
    ::stat(sName.c_str(), &st);
    return st.st_mode & 07777;
}

inline bool IsRoot() {
    return ::geteuid() == 0;
}

// Runs fn in a forked child, as user and group 65534 when the test runs as root, and
// returns its result (0..255), or a value above 255 when the child did not exit normally.
inline int RunUnprivileged(const std::function<int()> &fn) {
    pid_t pid = ::fork();
    if (pid == 0) {
        if (IsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0))
            ::_exit(250);
        ::_exit(fn());
    }
    int nStatus = 0;
    ::waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 256 + nStatus;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/qz-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(szTemplate), nullptr);
        m_sDir = szTemplate;
        ::chmod(m_sDir.c_str(), 0755);
        m_sOldDir = std::filesystem::current_path();
        std::filesystem::current_path(m_sDir);
        m_oldMask = ::umask(022);
    }

    void TearDown() override {
        ::umask(m_oldMask);
        std::filesystem::current_path(m_sOldDir);
        // Give back any rights a test took away, so the folder can be removed.
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(m_sDir, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            ::chmod(it->path().c_str(), 0755);
        ::chmod(m_sDir.c_str(), 0755);
        std::filesystem::remove_all(m_sDir, ec);
    }

    // Starts a case afresh: the settings file and its temporary file are gone.
    void Clear() {
        std::error_code ec;
        std::filesystem::remove_all("quarzel.ini", ec);
        std::filesystem::remove_all("quarzel.in~", ec);
    }

    std::string m_sDir;
    std::filesystem::path m_sOldDir;
    mode_t m_oldMask = 022;
};

} // namespace settings_test
