// ModeInitHook, the GUI thread and its event loop, the work of WM_CREATE, WM_PAINT and
// WM_DESTROY, and the shutdown handshake of LeaveGraphics, on the display interface.
//
// Each window owns its back-buffer (GraphWindowRecord): a later mode set makes a new record;
// earlier windows keep theirs, repaint from it, and their own teardown releases only it.

#include "graph/window/window_thread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "graph/graph_state.h"
#include "graph/window/backend_testing.h"
#include "graph/window/palette.h"
#include "graph/window/picture/save_key.h"
#include "graph/window/thread_state.h"
#include "graph/window/picture/title_notice.h"
#include "graph/window/picture/window_picture.h"
#include "runtime/faults.h"

BackendStateRecord& Backend = *new BackendStateRecord;

namespace {

// The GUI thread's last word: the main thread may be waiting for the window in ModeInitHook.
void SignalEnded(GraphWindowRecord* record) {
    {
        std::lock_guard<std::mutex> guard(Backend.windowsMutex);
        record->ended = true;
    }
    Backend.windowsChanged.notify_all();
}

// MessageBoxA stands in as one line on standard error.
void ReportWindowFailure(const char* message) {
    std::fputs(message, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// WM_DESTROY's work: the buffer goes; the window can no longer be drawn on.
void TearDown(GraphWindowRecord* record, Display& display) {
    record->input.Close();
    WindowSide lock;
    if (record->buffer.pixels == nullptr && !record->surfaceReady) return;
    record->surfaceReady = false;
    display.DestroyBuffer(record->handle, record->buffer);
    record->buffer = PixelBuffer{};
    record->secondPage.reset();
    record->drawPage = record->shownPage = 0;
    record->pageSwitched = false;
    record->damage = {0, 0, 0, 0};
    record->damageAll = false;
}

// Presents the area from the shown page band by band, each band under DrawLock of its own, and
// after each band leaves the drawing thread at least as long as the band took: a large present
// slows drawing down by half at most, instead of stopping it. Every primitive is whole within a
// band (it is drawn under the lock), and what is drawn meanwhile joins the next damage. Where
// the window system reads the buffer itself a present is one short request, so the area goes
// whole: bands would only add their lock turns and pauses to the time the frame takes. A page
// just switched to goes whole as well, so that the window never shows part of each page.
// Returns when the present began: the moment its first band held the lock.
std::chrono::steady_clock::time_point PresentInBands(GraphWindowRecord* record, Display& display, PixelRect area,
                                                     bool pageSwitched = false) {
    using Clock = std::chrono::steady_clock;
    const bool whole = pageSwitched || display.ReadsBufferItself(record->handle);
    const int32_t bandRows = whole ? std::max(area.bottom - area.top, 1) : kPresentBandRows;
    Clock::time_point began{};
    for (int32_t top = area.top; top < area.bottom; top += bandRows) {
        Clock::time_point start = Clock::now();
        {
            WindowSide lock;
            if (top == area.top) began = Clock::now();
            // A page switched to meanwhile is presented whole next: the rest of this page
            // would only show part of each.
            if (!record->surfaceReady || (top != area.top && record->pageSwitched)) break;
            const PixelBuffer shown = record->ShownPage();
            PixelRect band = PixelRect{area.left, top, area.right, std::min(top + bandRows, area.bottom)}
                                 .Intersected(BufferRect(shown));
            if (!band.IsEmpty()) display.Present(record->handle, shown, band);
        }
        if (!whole) std::this_thread::sleep_for(Clock::now() - start);
    }
    return began == Clock::time_point{} ? Clock::now() : began;
}

// Waits until `due`, or less once drawing has stopped: when the drawing thread has not taken
// the lock for a whole kDrawingPause and is waiting (for input, say) rather than ready to run,
// what it drew last is presented at once instead of up to an interval later. A drawing thread
// the machine has only not run for a while keeps the interval. While drawing goes on this
// thread looks once a pause.
void WaitUntilPresentIsDue(const GraphWindowRecord* record, std::chrono::steady_clock::time_point due) {
    using Clock = std::chrono::steady_clock;
    uint32_t turns = DrawLock.DrawingTurns();
    for (Clock::time_point now = Clock::now(); now < due; now = Clock::now()) {
        std::this_thread::sleep_until(std::min(due, now + kDrawingPause));
        const uint32_t later = DrawLock.DrawingTurns();
        if (later == turns && ThreadIsWaiting(record->drawingThread)) return;
        turns = later;
    }
}

// The GUI thread's work for one window; returns when the window is gone.
void RunWindow(GraphWindowRecord* record, Display& display) {
    // Window creation (there is no class registration to fail here).
    WindowHandle handle = display.CreateWindow(record->request);
    if (handle == kNoWindow) {
        ReportWindowFailure("Window creation failed");
        return;
    }
    record->handle = handle;

    // WM_CREATE: the buffer, painted black (entry 0 of the default palette).
    PixelBuffer buffer{};
    if (!display.CreateBuffer(handle, record->request.clientWidth, record->request.clientHeight,
                              buffer)) {
        display.DestroyWindow(handle);
        ReportWindowFailure("Window creation failed");
        return;
    }
    if (!display.BufferStartsBlack(handle)) {
        for (int32_t y = 0; y < buffer.height; ++y) {
            std::memset(buffer.pixels + static_cast<int64_t>(y) * buffer.stride, 0,
                        sizeof(uint32_t) * static_cast<size_t>(buffer.width));
        }
    }
    {
        // The window shows the black buffer at its first present.
        WindowSide lock;
        record->buffer = buffer;
        record->damage = {0, 0, buffer.width, buffer.height};
        record->damageAll = true;
        record->damagePosted = true;
        record->surfaceReady = true;
    }
    display.PostDamage(handle);
    // Shown before InitGraph returns, so that the window is there for whatever comes next.
    display.ShowWindow(handle);
    {
        std::lock_guard<std::mutex> guard(Backend.windowsMutex);
        record->readySignalled = true;
    }
    Backend.windowsChanged.notify_all();

    SaveKey saveKey;
    TitleNotice notice(display, handle, record->request.title);

    using Clock = std::chrono::steady_clock;
    Clock::time_point lastPresent = Clock::now() - kPresentInterval;
    for (;;) {
        WindowEvent event = display.NextEvent(handle);
        switch (event.kind) {
            case WindowEventKind::Expose:
                // WM_PAINT: the update area, widened by one pixel right and below, from the buffer.
                PresentInBands(record, display, {event.area.left, event.area.top, event.area.right + 1,
                                                 event.area.bottom + 1});
                break;
            case WindowEventKind::Damage: {
                // The interval runs from the start of the last present, so a present's own time
                // does not add to the wait of what is drawn meanwhile; a present starts when it
                // holds the lock, so a wait for the lock cannot bring two presents closer.
                WaitUntilPresentIsDue(record, lastPresent + kPresentInterval);
                PixelRect area;
                bool pageSwitched;
                {
                    WindowSide lock;
                    area = record->damage;
                    pageSwitched = record->pageSwitched;
                    record->damage = {0, 0, 0, 0};
                    record->damageAll = false;
                    record->damagePosted = false;
                    record->pageSwitched = false;
                }
                lastPresent = PresentInBands(record, display, area, pageSwitched);
                break;
            }
            case WindowEventKind::Destroy:
                TearDown(record, display);
                break;
            case WindowEventKind::Close:  // the user closed the window, or the connection is gone
            case WindowEventKind::Quit:
                TearDown(record, display);
                display.DestroyWindow(handle);
                return;
            case WindowEventKind::Key:
                switch (saveKey.Take(event)) {
                    case KeyVerdict::Save:
                        notice.Show(SaveWindowUnderFreshName(record));
                        break;
                    case KeyVerdict::Swallow:
                        break;
                    case KeyVerdict::Pass:
                        record->input.Take(event);
                        if (GraphState.MessageHook != nullptr) {
                            GraphState.MessageHook(static_cast<uintptr_t>(handle), event.message, event.first,
                                                   event.second);
                        }
                        break;
                }
                break;
            case WindowEventKind::Wake:
                notice.OnWake();
                break;
            case WindowEventKind::Button:
                record->input.Take(event);
                // The hook has always seen the buttons alone, not the wheel.
                if (GraphState.MouseHook != nullptr && event.message <= WM_MBUTTONDBLCLK) {
                    GraphState.MouseHook(static_cast<uintptr_t>(handle), event.message, event.first, event.second);
                }
                break;
            case WindowEventKind::Motion:
                record->input.Take(event);
                break;
            case WindowEventKind::None:
                break;
        }
    }
}

}  // namespace

// The damage grows, and the first damage since the last present wakes the window's GUI thread.
// A non-empty damage area has always been posted.
void GrowDamage(GraphWindowRecord* window, PixelRect area) {
    PixelRect& damage = window->damage;
    damage = damage.United(area);
    // Once a quarter of the buffer is damaged, the whole of it is: later pixels then cost a
    // single test until the next present.
    const PixelRect whole = BufferRect(window->buffer);
    if (damage.Area() * 4 >= whole.Area()) {
        damage = whole;
        window->damageAll = true;
    }
    if (!window->damagePosted) {
        window->damagePosted = true;
        window->display->PostDamage(window->handle);
    }
}

void GuiThread(GraphWindowRecord* record) {
    PrepareThreadForFaults(__builtin_frame_address(0));
    RunWindow(record, *record->display);
    SignalEnded(record);
}

void ModeInitHook() {
    // A fresh palette from the default table.
    MakePaletteTable();

    // Modes 245..249 ask for a maximised window.
    bool maximise = GraphState.currentMode >= 245 && GraphState.currentMode <= 249;

    // The GUI threads of windows the user has closed since are ended: reap them.
    {
        std::lock_guard<std::mutex> guard(Backend.windowsMutex);
        for (GraphWindowRecord* r = Backend.allWindows; r != nullptr; r = r->nextRecord) {
            if (r->ended && r->thread.joinable()) r->thread.join();
        }
    }

    // DrawLock exists once per process; a new window record and its GUI thread.
    auto* record = new GraphWindowRecord;
    record->display = &SelectedDisplay();
    record->drawingThread = CurrentThreadId();
    record->request = {GraphState.surfaceMaxX + 1, GraphState.surfaceMaxY + 1, maximise,
                       "ZorvGraphWindow", "Graph window application"};
    {
        std::lock_guard<std::mutex> guard(Backend.windowsMutex);
        record->nextRecord = Backend.allWindows;
        Backend.allWindows = record;
    }
    record->thread = std::thread(GuiThread, record);

    // Wait (without spinning) until the buffer exists or the thread has ended.
    bool ready;
    {
        std::unique_lock<std::mutex> guard(Backend.windowsMutex);
        Backend.windowsChanged.wait(guard, [&] { return record->readySignalled || record->ended; });
        ready = record->readySignalled;
    }
    // An ended thread means no window.
    if (!ready) {
        record->thread.join();
        record->joined = true;
        GraphState.resultCode = GraphErrorGeneral;
        return;
    }
    DrawingSide lock;
    // The window drawn on so far is drawn on no more: what its buffer remembered is of no use,
    // its table is, to the new window.
    if (Backend.newestWindow != nullptr) HandOverSegmentMemory(Backend.newestWindow->segments, record->segments);
    Backend.newestWindow = record;
}

void StopNewestWindow() {
    GraphWindowRecord* record = Backend.newestWindow;
    if (record == nullptr) return;
    record->display->PostDestroy(record->handle);
    record->display->PostQuit(record->handle);
    if (record->thread.joinable()) record->thread.join();
    record->joined = true;
}

bool NewestWindowShows() {
    DrawingSide lock;
    return Backend.newestWindow != nullptr && Backend.newestWindow->surfaceReady;
}

// The caller may write the pixels itself, which the draw page's segment memory must not outlive.
PixelBuffer NewestWindowBuffer() {
    GraphWindowRecord* window = Backend.newestWindow;
    if (window == nullptr) return PixelBuffer{};
    ++window->drawingGeneration;
    return window->Page(window->drawPage);
}

void ShutdownAllWindows() {
    GraphWindowRecord* records;
    {
        std::lock_guard<std::mutex> guard(Backend.windowsMutex);
        records = Backend.allWindows;
    }
    for (GraphWindowRecord* r = records; r != nullptr; r = r->nextRecord) {
        if (r->handle != kNoWindow) {
            r->display->PostDestroy(r->handle);
            r->display->PostQuit(r->handle);
        }
    }
    for (GraphWindowRecord* r = records; r != nullptr; r = r->nextRecord) {
        if (r->thread.joinable()) r->thread.join();
    }
    {
        DrawingSide lock;
        Backend.newestWindow = nullptr;
    }
    {
        std::lock_guard<std::mutex> guard(Backend.windowsMutex);
        Backend.allWindows = nullptr;
    }
    while (records != nullptr) {
        GraphWindowRecord* next = records->nextRecord;
        delete records;
        records = next;
    }
}
