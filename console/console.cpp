// The console layer's initialiser and exit handler, and the screen size it starts with.

#include "console/console.h"

#include "console/console_driver.h"
#include "console/device.h"
#include "console/keyboard.h"
#include "runtime/exit.h"
#include "runtime/fatal_line.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

namespace {

constexpr int32_t kDefaultColumns = 80;
constexpr int32_t kDefaultRows = 25;

ExitHandler savedExitHandler = nullptr;

// The console is handed back on every way out: normal end, run-time error, stop and fault all
// pass through the exit-handler chain.
void ConsoleExitHandler() {
    ExitHandlerChain = savedExitHandler;
    ActiveConsoleDevice().EndSession();
}

}  // namespace

void PlugConsoleLayer(ConsoleDevice& device) {
    UseConsoleDevice(device);
    PlugLayer(LayerConsole, ConsoleInit, nullptr);
}

void ConsoleInit() {
    ConsoleDevice& device = ActiveConsoleDevice();
    ConsoleState.outputHandle = osOutputHandle;
    ConsoleState.inputHandle = osInputHandle;

    ScreenBufferInfo info{};
    if (!device.GetScreenBufferInfo(ConsoleState.outputHandle, info)) {
        // Standard output is redirected: prompts still go to the console screen.
        ConsoleState.outputHandle = device.OpenConsoleOutput();
        if (ConsoleState.outputHandle == kNoHandle) StopWithFatalLine("No way to get the console handle");
        info = {};
        if (!device.GetScreenBufferInfo(ConsoleState.outputHandle, info)) {
            StopWithFatalLine("No way to get console screen buffer info");
        }
    }
    ConsoleState.cursorColumn = info.cursorColumn;
    ConsoleState.cursorRow = info.cursorRow;
    ConsoleState.charAttribute = static_cast<uint8_t>(info.attributes & 0xFF);
    ConsoleState.screenColumns = ConsoleColumns();
    ConsoleState.screenRows = ConsoleRows();
    ConsoleState.windowLeft = 1;
    ConsoleState.windowTop = 1;
    ConsoleState.windowRight = ConsoleState.screenColumns;
    ConsoleState.windowBottom = ConsoleState.screenRows;
    KeyboardState.altComposing = false;
    KeyboardState.altCode = 0;

    if (ExitHandlerChain != ConsoleExitHandler) {
        savedExitHandler = ExitHandlerChain;
        ExitHandlerChain = ConsoleExitHandler;
    }
    device.StartSession(ConsoleState.outputHandle, ConsoleState.inputHandle);

    AttachConsoleDriver(OutputText);
    OpenForOutput(OutputText);
    CheckPendingIoError();
    OutputText.osHandle = ConsoleState.outputHandle;

    AttachConsoleDriver(InputText);
    OpenForInput(InputText);
    CheckPendingIoError();
    InputText.osHandle = ConsoleState.inputHandle;
}

int32_t ConsoleColumns() {
    ScreenBufferInfo info{};
    if (!ActiveConsoleDevice().GetScreenBufferInfo(ConsoleState.outputHandle, info)) return kDefaultColumns;
    return info.columns;
}

int32_t ConsoleRows() {
    ScreenBufferInfo info{};
    if (!ActiveConsoleDevice().GetScreenBufferInfo(ConsoleState.outputHandle, info)) return kDefaultRows;
    return info.rows;
}
