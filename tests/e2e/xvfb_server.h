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
    // server leaves in /tmp is removed.
    void Kill();
    const std::string& display() const { return display_; }

private:
    // Ends the server the orderly way (it removes its own socket) and waits for it.
    void Stop();
    void RemoveLeftovers(pid_t killed) const;

    pid_t pid_ = -1;
    std::string display_;
};
