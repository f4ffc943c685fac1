#pragma once
// A private X server for one test: Xvfb on a display number it picks itself, stopped when the
// object goes (its socket goes with it). Start() also points DISPLAY at it, so the test and the
// programs it runs use it. A server whose test process dies is ended too.

#include <sys/types.h>

#include <string>
#include <vector>

struct XvfbSettings {
    int width = 640;
    int height = 480;
    int depth = 24;
    // Like a plain Xvfb, xvfb-run and many nested servers: the server resets whenever its last
    // client disconnects. Otherwise it runs with -noreset.
    bool resetsWhenLastClientLeaves = false;
    // For example {"-extension", "MIT-SHM"} to leave shared memory out.
    std::vector<std::string> extraArguments;
};

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // False when the server did not come up.
    bool Start(const XvfbSettings& settings);
    bool Start(int width, int height, const std::vector<std::string>& extraArguments = {});
    // Ends the server at once (SIGKILL), as a crash would, and waits for it; what a crashed
    // server leaves in /tmp is removed, but the display number stays held until the object
    // goes (this process binds the number's abstract socket name and its lock file names this
    // process), so that no other server, of this test run or of another on the machine,
    // answers on it meanwhile.
    void Kill();
    const std::string& display() const { return display_; }

private:
    // Ends the server the orderly way (it removes its own socket) and waits for it.
    void Stop();
    // Takes the number's socket name and lock file over from the killed server and removes its
    // socket file.
    void HoldNumber(pid_t killed);
    void ReleaseNumber();

    pid_t pid_ = -1;
    std::string display_;
    std::string heldLock_;  // the lock file this process holds, if any
    int heldSocket_ = -1;   // bound to the number's abstract socket name, if held
};
