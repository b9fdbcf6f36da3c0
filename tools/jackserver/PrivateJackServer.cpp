#include "jackserver/PrivateJackServer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr auto kStartLimit = std::chrono::seconds(20);
constexpr auto kStartPoll = std::chrono::milliseconds(50);

// Starts Args quietly (no output) and returns its process, or -1. The child is killed when
// this process ends, however it ends, so that a test that crashes or is halted leaves no server
// behind to hold a slot. Between fork and exec only calls that are safe in the forked child of
// a threaded process are made.
pid_t Spawn(const std::vector<std::string>& Args) {
    std::vector<char*> Argv;
    Argv.reserve(Args.size() + 1);
    for (const std::string& Arg : Args) {
        Argv.push_back(const_cast<char*>(Arg.c_str()));
    }
    Argv.push_back(nullptr);
    const pid_t iParent = getpid();
    const pid_t iChild = fork();
    if (iChild == 0) {
#ifdef __linux__
        prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
        if (getppid() != iParent) {
            _exit(127);
        }
        const int iNull = open("/dev/null", O_WRONLY);
        dup2(iNull, STDOUT_FILENO);
        dup2(iNull, STDERR_FILENO);
        execvp(Argv[0], Argv.data());
        _exit(127);
    }
    return iChild < 0 ? -1 : iChild;
}

// Asks from another process: a client opened here would, once a server of this process has
// gone, make JACK clean up every client of the process.
bool Answers(const std::string& Name) {
    const pid_t iLister = Spawn({"jack_lsp", "-s", Name});
    int iStatus = 0;
    return iLister > 0 && waitpid(iLister, &iStatus, 0) == iLister && WIFEXITED(iStatus) &&
           WEXITSTATUS(iStatus) == 0;
}

bool IsRunning(pid_t iPid) {
    return iPid > 0 && waitpid(iPid, nullptr, WNOHANG) == 0;
}

}  // namespace

cPrivateJackServer::cPrivateJackServer(std::string Name) : ServerName(std::move(Name)) {
    if (const char* szDefault = std::getenv("JACK_DEFAULT_SERVER")) {
        PreviousDefault = szDefault;
        bHadDefault = true;
    }
}

cPrivateJackServer::~cPrivateJackServer() {
    Stop();
    RemoveLeftSemaphores();
    if (bHadDefault) {
        setenv("JACK_DEFAULT_SERVER", PreviousDefault.c_str(), 1);
    } else {
        unsetenv("JACK_DEFAULT_SERVER");
    }
}

std::string cPrivateJackServer::Launch() {
    iPid = Spawn(
        {"jackd", "-n", ServerName, "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "256"});
    if (iPid < 0) {
        return "jackd could not be started";
    }
    const auto Deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (!Answers(ServerName)) {
        if (!IsRunning(iPid) || std::chrono::steady_clock::now() > Deadline) {
            Stop();
            return "the JACK server '" + ServerName + "' did not start";
        }
        std::this_thread::sleep_for(kStartPoll);
    }
    return {};
}

std::string cPrivateJackServer::Start() {
    setenv("JACK_NO_START_SERVER", "1", 1);
    setenv("JACK_DEFAULT_SERVER", ServerName.c_str(), 1);
    return Launch();
}

void cPrivateJackServer::Signal(int iSignal) const {
    if (iPid > 0) {
        kill(iPid, iSignal);
    }
}

void cPrivateJackServer::Reap() {
    if (iPid > 0) {
        waitpid(iPid, nullptr, 0);
        iPid = -1;
    }
}

void cPrivateJackServer::FreeSlot() {
    Reap();
    if (Launch().empty()) {
        Stop();
    }
}

void cPrivateJackServer::Stop() {
    if (iPid > 0) {
        kill(iPid, SIGCONT);
        kill(iPid, SIGTERM);
        Reap();
    }
}

// Clients of a server that died never unlink their semaphores (jack_sem.<user>_<server>_<client>
// in /dev/shm); nothing else of the machine's is touched.
void cPrivateJackServer::RemoveLeftSemaphores() const {
    const std::string Mark = "_" + ServerName + "_";
    std::error_code Error;
    for (const auto& Entry : std::filesystem::directory_iterator("/dev/shm", Error)) {
        const std::string Name = Entry.path().filename().string();
        if (Name.rfind("jack_sem.", 0) == 0 && Name.find(Mark) != std::string::npos) {
            std::filesystem::remove(Entry.path(), Error);
        }
    }
}

std::string cPrivateJackServer::NameFor(const std::string& Purpose) {
    std::error_code Error;
    const std::string Program = std::filesystem::read_symlink("/proc/self/exe", Error).string();
    const std::string Folder = std::filesystem::current_path(Error).string();
    const size_t uiHash = std::hash<std::string>{}(Program + "\n" + Folder + "\n" + Purpose);
    // Short and plain: the name becomes part of the server's socket paths.
    return "songloader-" + std::to_string(uiHash % 100000000);
}
