#pragma once

#include <sys/types.h>

#include <string>

// A JACK server of a test's or a benchmark's own, to be stopped or killed at will: the dummy
// driver, no realtime scheduling, and a name no other server on the machine has. While it runs
// it is this process's default server (JACK_DEFAULT_SERVER), so every JACK client the process
// opens meets it. POSIX only.
//
// JACK keeps a slot (there are 8 on a machine) for a server killed with SIGKILL, or stopped while
// clients of this process were still open, until a server of the same name runs again: after
// such an end, FreeSlot starts and cleanly stops one. A name
// that stays the same from run to run (see NameFor) frees the slot of an earlier run that could
// not. The server is stopped when this process ends, however it ends.
class cPrivateJackServer {
  public:
    explicit cPrivateJackServer(std::string Name);
    cPrivateJackServer(const cPrivateJackServer&) = delete;
    cPrivateJackServer& operator=(const cPrivateJackServer&) = delete;
    // Stops the server if it still runs, removes what its lost clients left behind, and
    // restores the process's default server.
    ~cPrivateJackServer();

    // Starts jackd and waits until it answers; an error text, empty on success.
    std::string Start();
    // Sends the server a signal (SIGTERM, SIGKILL, SIGSTOP, SIGCONT).
    void Signal(int iSignal) const;
    // Waits for the server's process to end once it has been told to (SIGTERM, SIGKILL).
    void Reap();
    // Starts and cleanly stops a server of the same name, which frees the slot of a killed one.
    void FreeSlot();

    const std::string& Name() const { return ServerName; }
    // A server name for Purpose (any text) that stays the same from run to run of this program
    // in this folder, and differs from those of other programs, folders and purposes.
    static std::string NameFor(const std::string& Purpose);

  private:
    std::string Launch();
    void Stop();
    void RemoveLeftSemaphores() const;

    std::string ServerName;
    pid_t iPid = -1;
    std::string PreviousDefault;
    bool bHadDefault = false;
};
