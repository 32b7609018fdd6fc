#pragma once
// A JACK server of the test's own: jackd with the dummy backend (no sound
// hardware needed) under a name no other test uses, made the default server
// of this process, whose JACK client is named after it. It dies with the
// test process.
//
// JACK servers starting side by side on one machine contend for JACK's one
// shared-memory registry and fail to come up under load, so each object
// holds a machine-wide lock for its lifetime: the tests that start a server
// run one at a time, whatever runs them in parallel (ctest, several build
// trees). The server's own output goes to a log file that Log() returns, so
// a server that does not come up says why.

#include <string>
#include <sys/types.h>

class JackServer {
public:
    JackServer();
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    // False when there is no jackd to run.
    static bool Available();

    bool Start(int rate, int period);
    // Sends the signal and reaps the server; a server that does not end
    // within a few seconds is killed.
    void Stop(int signal);
    // Sends the signal and leaves the server be: SIGSTOP holds it up (it
    // answers nothing), SIGCONT lets it go on.
    void Signal(int signal);
    // Waits (bounded) until the JACK driver loads and initialises against
    // the server; leaves nothing loaded.
    static bool WaitUntilDriverServes(double timeoutSeconds);
    // A server killed outright leaves its files in /dev/shm: they are removed,
    // and a server of the same name started and stopped cleanly takes back
    // its shared memory.
    void CleanUpAfterKill();

    // What the server printed, for a failure message.
    std::string Log() const;

private:
    bool WaitForSocket(double timeoutSeconds) const;
    void RemoveLeftovers() const;

    std::string ServerName;
    std::string LogPath;
    int LockFd = -1;
    int Rate = 48000;
    int Period = 256;
    pid_t Pid = -1;
};
