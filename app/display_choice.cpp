// display_choice: see display_choice.h.

#include "app/display_choice.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "console/picture_query.h"
#include "console/terminal_device.h"
#include "console/terminal_session.h"
#include "console/terminal_write.h"
#include "graph/window/terminal/terminal_display.h"
#include "graph/window/x11/x11_display.h"

namespace {

enum class Choice : uint8_t { Automatic, X11, Terminal, None };

Choice ForcedChoice() {
    const char* forced = std::getenv("CHAOSPLOT_DISPLAY");
    std::string_view name = forced == nullptr ? "" : forced;
    if (name == "x11") return Choice::X11;
    if (name == "terminal") return Choice::Terminal;
    if (name == "none") return Choice::None;
    return Choice::Automatic;
}

bool XServerAnswers(X11Display& x11) {
    const char* name = std::getenv("DISPLAY");
    return name != nullptr && *name != '\0' && x11.Answers();
}

std::optional<TerminalDisplay> terminalDisplay;

void WriteToStandardOutput(std::string_view bytes) { WriteToTerminal(STDOUT_FILENO, bytes); }

// Pictures in the terminal when it shows them (or they are forced): the rows they keep at the
// top; 0 when it does not.
int32_t SelectTerminalDisplay(TerminalDevice* console, int32_t dialogueRows, bool forced) {
    TerminalPictureSupport terminal;
    std::string typed;
    const bool asked = AskTerminalAboutPictures(terminal, typed);
    if (console != nullptr) console->KeepTypedKeys(typed);
    if (!asked) return 0;
    if (!forced && !terminal.kittyGraphics && !terminal.sixel) return 0;
    if (terminal.cellWidth <= 0 || terminal.cellHeight <= 0 || terminal.rows <= dialogueRows) return 0;
    const int32_t pictureRows = terminal.rows - dialogueRows;
    const PictureArea area{terminal.columns * terminal.cellWidth, pictureRows * terminal.cellHeight,
                           terminal.cellWidth, terminal.cellHeight};
    const PictureProtocol protocol =
        terminal.sixel && !terminal.kittyGraphics ? PictureProtocol::Sixel : PictureProtocol::Kitty;
    terminalDisplay.emplace(protocol, area, WriteToStandardOutput);
    SelectDisplay(*terminalDisplay);
    SetSignalFarewell(STDOUT_FILENO, terminalDisplay->RemovalBytes());
    if (console != nullptr) {
        console->ReserveTopRows(pictureRows);
        console->SetScreenRedrawnSlot(ShowPictureAgain);
    }
    return pictureRows;
}

}  // namespace

int32_t ChooseDisplay(TerminalDevice* console, int32_t dialogueRows) {
    static X11Display x11;
    const Choice choice = ForcedChoice();
    if (choice == Choice::None) unsetenv("DISPLAY");
    const bool tryTerminal = choice == Choice::Terminal || (choice == Choice::Automatic && !XServerAnswers(x11));
    if (tryTerminal) {
        if (const int32_t pictureRows = SelectTerminalDisplay(console, dialogueRows, choice == Choice::Terminal)) {
            return pictureRows;
        }
    }
    SelectDisplay(x11);
    return 0;
}

void ShowPictureAgain() {
    if (terminalDisplay) terminalDisplay->ShowAgain();
}
