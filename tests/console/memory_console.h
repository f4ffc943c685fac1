#pragma once
// Runs the console layer on a screen in memory: standard output is the console screen,
// the keyboard is a script of key events.

#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "console/keyboard.h"
#include "console/memory_device.h"
#include "runtime/exit.h"
#include "runtime/startup.h"
#include "runtime/text_stream.h"

class MemoryConsoleTest : public ::testing::Test {
protected:
    static constexpr int32_t kColumns = 20;
    static constexpr int32_t kRows = 5;
    static constexpr uint8_t kAttribute = 0x1E;

    MemoryConsoleDevice device{kColumns, kRows, kAttribute};

    void SetUp() override {
        osOutputHandle = MemoryConsoleDevice::kScreenHandle;
        osInputHandle = MemoryConsoleDevice::kKeyboardHandle;
        osErrorHandle = 2;
        BindStandardText(ReportText, StateOutput, 1);
        BindStandardText(DiagnosticText, StateOutput, 2);
        pendingIoError = 0;
        ExitHandlerChain = nullptr;
        KeyboardState = {};
        UseConsoleDevice(device);
    }
    void TearDown() override { ExitHandlerChain = nullptr; }

    void StartConsole() { ConsoleInit(); }

    void WriteLine(const std::string& text) {
        WriteText(0, OutputText, LengthPrefixedString(text));
        WriteLineEnd(OutputText);
    }
    void Write(const std::string& text) {
        WriteText(0, OutputText, LengthPrefixedString(text));
        ConsoleWriteNow();
    }
    // Hands what OutputText holds to the screen without a line end.
    void ConsoleWriteNow() { OutputText.onTransfer(OutputText); }

    std::string DeliveredLine() const {
        return std::string(reinterpret_cast<const char*>(InputText.data), static_cast<size_t>(InputText.fillEnd));
    }
};
