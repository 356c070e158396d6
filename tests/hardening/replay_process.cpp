// The child process: stdout and stderr go to files read back afterwards (no
// pipe can fill up), the working folder is set, and as root the child gives
// up its groups and switches to nobody before it runs the tool.
#include "tests/hardening/replay_process.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr uid_t NOBODY = 65534;
constexpr gid_t NOGROUP = 65534;

std::string ReadAll(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

bool CanRunAsNobody() {
    if (geteuid() != 0)
        return false;
    // nobody must also be able to reach the tool: a build inside a private
    // home folder is out of its reach.
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(NOGROUP) != 0 || setuid(NOBODY) != 0)
            _exit(1);
        _exit(access(QZ_REPLAY_EXE, X_OK) == 0 ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

ReplayRun RunReplay(const std::string &dir, const std::string &script, bool asNobody) {
    namespace fs = std::filesystem;
    ReplayRun run;
    char tmpl[] = "/tmp/quarzel-replay-run-XXXXXX";
    if (!mkdtemp(tmpl))
        return run;
    const fs::path io = tmpl;
    // Readable by nobody too: the script is read by the child.
    fs::permissions(io, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
    const std::string scriptPath = (io / "run.script").string();
    const std::string outPath = (io / "out").string();
    const std::string errPath = (io / "err").string();
    std::ofstream(scriptPath) << script;

    const pid_t pid = fork();
    if (pid == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (out < 0 || err < 0)
            _exit(120);
        dup2(out, 1);
        dup2(err, 2);
        if (asNobody &&
            (setgroups(0, nullptr) != 0 || setgid(NOGROUP) != 0 || setuid(NOBODY) != 0)) {
            std::perror("cannot become nobody");
            _exit(121);
        }
        if (chdir(dir.c_str()) != 0) {
            std::perror("chdir");
            _exit(122);
        }
        execl(QZ_REPLAY_EXE, QZ_REPLAY_EXE, scriptPath.c_str(), static_cast<char *>(nullptr));
        std::perror("exec quarzel-replay");
        _exit(123);
    }
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    std::istringstream lines(ReadAll(outPath));
    for (std::string line; std::getline(lines, line);)
        run.lines.push_back(line);
    run.errors = ReadAll(errPath);
    std::error_code ec;
    fs::remove_all(io, ec);
    return run;
}
