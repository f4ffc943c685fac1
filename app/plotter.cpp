#include "app/plotter.h"

#include "graph/graph.h"
#include "runtime/exit.h"
#include "runtime/random.h"
#include "runtime/text_stream.h"

int16_t graphDriver;
int16_t graphMode;
int32_t xp;
int32_t yp;
int32_t nmax;
int32_t step;
int32_t corner;
uint8_t answer;

namespace {

// The corners the path moves half-way towards (not the triangle's own corners).
struct Corner {
    int32_t x, y;
};
constexpr Corner kCorners[3] = {{10, 10}, {410, 10}, {210, 346}};

void Prompt(const char* text) {
    WriteText(0, OutputText, text);
    WriteLineEnd(OutputText);
    CheckPendingIoError();
}

void AskInteger(const char* text, int32_t& value) {
    Prompt(text);
    value = ReadInteger(InputText);
    SkipRestOfLine(InputText);
    CheckPendingIoError();
}

// The 32-bit sum wraps as the machine's addition does, and div truncates toward zero.
int32_t HalfWayTo(int32_t from, int32_t to) {
    return static_cast<int32_t>(static_cast<uint32_t>(from) + static_cast<uint32_t>(to)) / 2;
}

// The graphics library takes the low 16 bits of a coordinate.
int16_t Low16(int32_t value) { return static_cast<int16_t>(value); }

}  // namespace

void DrawFilledTriangle() {
    SetDrawColor(14);
    SelectFill(1, 4);
    PenLineTo(400, 0);
    PenLineTo(200, 346);
    PenLineTo(0, 0);
    FloodFillArea(10, 10, 14);
}

void PlayChaosGame() {
    PenMoveTo(Low16(xp), Low16(yp));
    if (nmax < 1) return;
    // Counting up to nmax inclusive without stepping past the largest 32-bit number.
    for (step = 1;; ++step) {
        corner = RandomBelow(3) + 1;
        const Corner& target = kCorners[corner - 1];
        PenLineTo(Low16(HalfWayTo(xp, target.x)), Low16(HalfWayTo(yp, target.y)));
        xp = PenX();
        yp = PenY();
        if (step == nmax) break;
    }
}

namespace {

void PlotPass() {
    graphDriver = 0;
    graphMode = 2;
    AskInteger("inserire xp", xp);
    AskInteger("inserire yp", yp);
    AskInteger("inserire nmax", nmax);
    InitGraph(graphDriver, graphMode, kDriverPath);
    DrawFilledTriangle();
    PlayChaosGame();
    Prompt("ancora? s/n");
    answer = ReadChar(InputText);
    SkipRestOfLine(InputText);
    CheckPendingIoError();
}

}  // namespace

void PlotterMain() {
    RunLayerInits();
    do {
        PlotPass();
    } while (answer != 'n');
    LeaveGraphics();
    ProcessExit();
}
