#pragma once
// A pseudo-terminal pair for the benchmarks that time the real serial code:
// the program opens the slave by its name as a COM port, the benchmark plays
// the CNC on the master. The slave stays open here too, so that the master's
// reads end only when everything has come and the CNC's end never sees a
// hang-up between two openings by the program.

#include <pty.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tarvex::bench {

struct Pty {
    int maitre = -1, esclave = -1;
    std::string nom;

    Pty()
    {
        char n[256];
        if (::openpty(&maitre, &esclave, n, nullptr, nullptr) != 0) return;
        nom = n;
        termios t;
        for (int fd : {maitre, esclave}) {
            ::tcgetattr(fd, &t);
            ::cfmakeraw(&t);
            ::tcsetattr(fd, TCSANOW, &t);
        }
    }
    ~Pty()
    {
        if (maitre >= 0) ::close(maitre);
        if (esclave >= 0) ::close(esclave);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
};

// `cat FICHIER` writing into the slave `nom`, what the benchmarks compare the
// program's sending with; returns once cat has ended.
inline void catVers(const std::string& fichier, const std::string& nom)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, nom.c_str(), O_WRONLY | O_NOCTTY, 0);
    std::string cat = "cat";
    char* argv[] = {cat.data(), const_cast<char*>(fichier.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cat", &actions, nullptr, argv, environ) == 0) ::waitpid(pid, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
}

}  // namespace tarvex::bench
