// vorncad at a terminal: keys typed through a pseudo-terminal as a user types them.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// What the terminal shows, without readline's control sequences and with CR LF as LF; a
// backspace takes back the character before it (readline redraws a completed word so).
std::string Plain(const std::string& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\x1b' && i + 1 < raw.size() && raw[i + 1] == '[') {
            i += 2;
            while (i < raw.size() && !(raw[i] >= '@' && raw[i] <= '~')) ++i;
        } else if (raw[i] == '\b') {
            if (!out.empty()) out.pop_back();
        } else if (raw[i] != '\r') {
            out += raw[i];
        }
    }
    return out;
}

class Terminal {
public:
    explicit Terminal(const fs::path& settings) {
        m_pid = forkpty(&m_fd, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            setenv("TERM", "xterm", 1);
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            execl(VORNCAD, "vorncad", "--no-window", "--settings", settings.c_str(), nullptr);
            _exit(127);
        }
    }
    ~Terminal() {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_fd >= 0) close(m_fd);
    }
    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // Types keys, then waits until the screen (since the last wait) shows expected.
    bool Type(const std::string& keys, const std::string& expected) {
        if (write(m_fd, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) return false;
        return Wait(expected);
    }
    bool Wait(const std::string& expected) {
        // Looked for after the end of what the last wait found (in the plain screen), so that
        // text that came in the same read as it is not passed over.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::size_t at = std::string::npos;
        while ((at = Plain(m_raw).find(expected, m_mark)) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end || !Read(100)) return false;
        }
        m_mark = at + expected.size();
        return true;
    }
    // The exit status once the program has ended of itself; -1 when it has not within 20 s.
    int Exit() {
        while (Read(100)) {}
        for (int i = 0; i < 200; ++i) {
            int st = 0;
            if (waitpid(m_pid, &st, WNOHANG) == m_pid) {
                m_exited = true;
                return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
            }
            usleep(100000);
        }
        return -1;
    }
    std::string Screen() const { return Plain(m_raw); }

private:
    bool Read(int ms) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, ms) < 0) return false;
        if (!(p.revents & POLLIN)) return !(p.revents & (POLLHUP | POLLERR));
        char buf[4096];
        const ssize_t n = read(m_fd, buf, sizeof buf);
        if (n <= 0) return false;
        m_raw.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    pid_t m_pid = -1;
    int m_fd = -1;
    bool m_exited = false;
    std::string m_raw;
    std::size_t m_mark = 0;  // in the plain screen
};

TEST(VorncadTerminal, EscAndCtrlCCancelCleanlySpaceEntersTabCompletesAndHistoryLasts) {
    const fs::path dir = fs::path(VORN_BINARY_DIR) / "tests" / "app" / "work" / "terminal";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path settings = dir / "settings.json";
    {
        Terminal t(settings);
        ASSERT_TRUE(t.Started());
        ASSERT_TRUE(t.Wait("Command: ")) << t.Screen();
        ASSERT_TRUE(t.Type("LINE\r", "Specify first point: ")) << t.Screen();
        ASSERT_TRUE(t.Type("0,0\r", "Specify next point or [Undo]: ")) << t.Screen();
        // Tab offers the prompt's keywords; Esc alone cancels without waiting for another key,
        // and what was typed stays above the "*Cancel*" line.
        ASSERT_TRUE(t.Type("u\t", "Undo")) << t.Screen();
        EXPECT_TRUE(t.Type("\x1b", "\n*Cancel*\nCommand: ")) << t.Screen();
        // The key after Esc is typed, not eaten; Ctrl-C ends the line before "*Cancel*".
        EXPECT_TRUE(t.Type("x", "x")) << t.Screen();
        EXPECT_TRUE(t.Type("\x03", "\n*Cancel*\nCommand: ")) << t.Screen();
        // Space at Command: is Enter: it runs the last command again, and a point typed ends
        // with it; after HELP it is typed, for the name that follows.
        EXPECT_TRUE(t.Type(" ", "LINE\nSpecify first point: ")) << t.Screen();
        EXPECT_TRUE(t.Type("5,5 ", "Specify next point or [Undo]: ")) << t.Screen();
        EXPECT_TRUE(t.Type("\x1b", "*Cancel*\nCommand: ")) << t.Screen();
        // An interrupt (Ctrl-C while a command works) does not end the program.
        kill(t.Pid(), SIGINT);
        EXPECT_TRUE(t.Type("LINE\r", "Specify first point: ")) << t.Screen();
        EXPECT_TRUE(t.Type("\x1b", "*Cancel*\nCommand: ")) << t.Screen();
        // Command names complete without regard to case, also after HELP.
        EXPECT_TRUE(t.Type("HELP offs\t\r", "HELP OFFSET\nOFFSET")) << t.Screen();
        EXPECT_TRUE(t.Wait("Command: ")) << t.Screen();
        EXPECT_TRUE(t.Type("offs\t\r", "OFFSET\nSpecify offset distance")) << t.Screen();
        EXPECT_TRUE(t.Type("\x03", "*Cancel*\nCommand: ")) << t.Screen();
        t.Type("\x04", "");
        EXPECT_EQ(t.Exit(), 0) << t.Screen();
    }
    {
        // The next run recalls the last line of the one before with the Up key.
        Terminal t(settings);
        ASSERT_TRUE(t.Wait("Command: ")) << t.Screen();
        EXPECT_TRUE(t.Type("\x1b[A\r", "OFFSET\nSpecify offset distance")) << t.Screen();
        EXPECT_TRUE(t.Type("\x1b", "*Cancel*\nCommand: ")) << t.Screen();
        t.Type("\x04", "");
        EXPECT_EQ(t.Exit(), 0) << t.Screen();
    }
}

}  // namespace
