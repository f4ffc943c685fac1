#pragma once
// A private X server for one test: Xvfb on a display number it picks itself, stopped when the
// object goes. Start() also points DISPLAY at it, so the test and the programs it runs use it.

#include <sys/types.h>

#include <string>
#include <vector>

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts a server with one screen of width x height x 24 and the extra arguments (for
    // example {"-extension", "MIT-SHM"} to leave shared memory out). False when it did not come up.
    bool Start(int width, int height, const std::vector<std::string>& extraArguments = {});
    // Ends the server at once (SIGKILL), as a crash would, and waits for it.
    void Kill();
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};
