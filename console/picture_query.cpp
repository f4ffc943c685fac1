// picture_query: see picture_query.h.

#include "console/picture_query.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

#include "console/terminal_replies.h"
#include "console/terminal_session.h"
#include "console/terminal_write.h"

namespace {

constexpr std::chrono::milliseconds kAnswerWait{300};
// A kitty graphics query for a 1x1 image that is never stored, then the cell size, then the
// device attributes, which every terminal answers last.
constexpr char kQuestions[] = "\x1b_Gi=31,s=1,v=1,a=q,t=d,f=24;AAAA\x1b\\\x1b[16t\x1b[c";

}  // namespace

bool AskTerminalAboutPictures(TerminalPictureSupport& found, std::string& typed) {
    if (!isatty(STDOUT_FILENO)) return false;
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
        found.columns = size.ws_col;
        found.rows = size.ws_row;
        if (size.ws_xpixel > 0 && size.ws_ypixel > 0) {
            found.cellWidth = size.ws_xpixel / size.ws_col;
            found.cellHeight = size.ws_ypixel / size.ws_row;
        }
    }
    int replyFd = isatty(STDIN_FILENO) ? STDIN_FILENO : open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (replyFd < 0) return true;
    InstallTerminalSignalHandlers();
    bool held = TakeOverTerminal(replyFd, STDOUT_FILENO);
    WriteToTerminal(STDOUT_FILENO, kQuestions);
    TerminalReplies replies;
    std::string bytes = ReadTerminalReplies(replyFd, replies, [](const TerminalReplies& r) { return r.attributesReported; }, kAnswerWait);
    if (held) GiveBackTerminal();
    if (replyFd == STDIN_FILENO) {
        typed += bytes;
    } else {
        close(replyFd);
    }
    found.kittyGraphics = replies.kittyGraphics;
    found.sixel = replies.sixel;
    if (found.cellWidth == 0 && replies.cellWidth > 0 && replies.cellHeight > 0) {
        found.cellWidth = replies.cellWidth;
        found.cellHeight = replies.cellHeight;
    }
    return true;
}
