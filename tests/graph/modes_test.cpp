// The mode list, its lookups, InitGraph's detection and path handling, and LeaveGraphics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/startup.h"
#include "tests/graph/graph_test_support.h"

namespace {

struct Size {
    int x, y;
    bool operator==(const Size&) const = default;
};

std::vector<Size> ClassSizes(int16_t driver) {
    std::vector<Size> sizes;
    int16_t index = 1;
    for (ModeEntry* e = GraphState.classModeLists[driver - kFirstClassDriver]; e; e = e->next) {
        EXPECT_EQ(e->classIndex, index++);
        sizes.push_back({e->surfaceMaxX + 1, e->surfaceMaxY + 1});
    }
    return sizes;
}

int KnownModeCount() {
    int n = 0;
    for (ModeEntry* e = GraphState.KnownModes; e; e = e->next) ++n;
    return n;
}

TEST(Modes, DetectionPicksTheLargest256ColourMode) {
    RestartLibrary({1912, 1049, 1920, 1017});
    EXPECT_EQ(ClassSizes(15), (std::vector<Size>{{640, 400}, {640, 480}, {800, 600}, {1024, 768},
                                                  {1280, 1024}, {1912, 1049}, {1920, 1017}}));
    EXPECT_EQ(KnownModeCount(), 15);
    EXPECT_EQ(GraphState.classModeRange[15 - kFirstClassDriver].highest, 7);

    int16_t driver = 0, mode = 2;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(driver, 15);
    EXPECT_EQ(mode, 7);
    EXPECT_EQ(GraphState.currentMode, 246);
    EXPECT_EQ(SurfaceMaxX(), 1919);
    EXPECT_EQ(SurfaceMaxY(), 1016);
    EXPECT_EQ(HighestColor(), 255);
    WindowRequest request = TestDisplay().Request(TestDisplay().NewestWindow());
    EXPECT_TRUE(request.maximise);
    EXPECT_EQ(request.clientWidth, 1920);
    EXPECT_EQ(request.clientHeight, 1017);
    EXPECT_STREQ(request.title, "Graph window application");
    EXPECT_STREQ(request.className, "ZorvGraphWindow");
}

TEST(Modes, ScreensWiderThan16BitCoordinatesGetModesOf32768Pixels) {
    RestartLibrary({40000, 300, 32769, 200});  // a width of 32769 gave a surface of -32767
    int16_t driver = 0, mode = 0;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), GraphOk);
    EXPECT_EQ(SurfaceMaxX(), 32767);
    EXPECT_EQ(SurfaceMaxY(), 299);
}

TEST(Modes, EqualSizesReplaceEachOtherInTheClassList) {
    // The largest window is exactly 640 x 480: rows 12 and 13 replace rows 1 and 5 in the
    // class lists, but the general list keeps every row.
    RestartLibrary({640, 480, 640, 480});
    EXPECT_EQ(ClassSizes(13), (std::vector<Size>{{640, 200}, {640, 350}, {640, 480}}));
    EXPECT_EQ(ClassSizes(15), (std::vector<Size>{{640, 400}, {640, 480}}));
    EXPECT_EQ(GraphState.classModeLists[13 - kFirstClassDriver]->next->next->mode, 245);
    EXPECT_EQ(KnownModeCount(), 9);
}

TEST(Modes, SmallScreenKeepsOnlyTheWindowModes) {
    RestartLibrary({600, 400, 620, 420});
    EXPECT_EQ(KnownModeCount(), 4);
    EXPECT_EQ(ClassSizes(15), (std::vector<Size>{{600, 400}, {620, 420}}));
    int16_t driver = 0, mode = 0;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(driver, 15);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(SurfaceMaxX(), 619);
}

TEST(Modes, LookupsByDriverModeAndSizeCode) {
    RestartLibrary({1912, 1049, 1920, 1017});
    int16_t driver = 9, mode = 2;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(SurfaceMaxX(), 639);
    EXPECT_EQ(HighestColor(), 15);
    EXPECT_EQ(GraphState.classDriver, -1);

    driver = 9, mode = 5;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), GraphErrorInvalidMode);

    driver = 13, mode = 30009;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(GraphState.currentMode, 2);  // 640 x 480 x 16
    EXPECT_EQ(GraphState.currentDriver, 13);

    driver = 13, mode = 30001;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), GraphErrorInvalidMode);

    driver = 13, mode = 30000;
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(driver, 13);
    EXPECT_EQ(mode, static_cast<int16_t>(ClassSizes(13).size()));

    driver = 15, mode = 1;
    InitGraph(driver, mode, "");
    EXPECT_EQ(SurfaceMaxX(), 639);
    EXPECT_EQ(SurfaceMaxY(), 399);

    // Markers: the first and the last of the first run of a driver's entries.
    int16_t marker = kLowestModeMarker;
    EXPECT_NE(LookupMode(10, marker), nullptr);
    EXPECT_EQ(marker, 256);
    marker = kHighestModeMarker;
    EXPECT_NE(LookupMode(9, marker), nullptr);
    EXPECT_EQ(marker, 1);
    int16_t lowest, highest;
    ModeNumberRange(19, lowest, highest);
    EXPECT_EQ(lowest, -1);
    EXPECT_EQ(highest, -1);
}

TEST(Modes, FailedModeSetKeepsTheGuards) {
    StartMode();
    EXPECT_TRUE(GraphState.inGraphics);
    TestDisplay().FailWindowCreations(1);
    int16_t driver = 9, mode = 2;
    testing::internal::CaptureStderr();
    InitGraph(driver, mode, "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Window creation failed\n");
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
    // The palette the old window drew with is gone: out of graphics mode, as LeaveGraphics.
    EXPECT_FALSE(GraphState.inGraphics);
    EXPECT_EQ(GraphState.paletteTable, nullptr);
    EXPECT_NE(DriverSlots.PlotPixel, &BackendPlotPixel);
    EXPECT_EQ(DriverSlots.DrawLine, &GenericDrawLine);

    TestDisplay().FailBufferCreations(1);
    testing::internal::CaptureStderr();
    InitGraph(driver, mode, "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Window creation failed\n");
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
}

TEST(Modes, ARefusedModeRequestKeepsTheModeInUse) {
    const int16_t requests[][2] = {{9, 99}, {99, 0}, {19, 30016}};
    for (const auto& request : requests) {
        StartMode();
        DefineViewport(10, 10, 99, 99, true);
        SetDrawColor(4);
        const GraphStateRecord before = GraphState;
        int16_t driver = request[0], mode = request[1];
        InitGraph(driver, mode, "elsewhere");
        EXPECT_EQ(GraphResult(), GraphErrorInvalidMode) << request[0] << "," << request[1];
        EXPECT_TRUE(GraphState.inGraphics);
        EXPECT_EQ(HighestColor(), 15);
        EXPECT_EQ(GraphState.surfaceMaxX, before.surfaceMaxX);
        EXPECT_EQ(GraphState.viewLeft, 10);
        EXPECT_EQ(GraphState.driverPath.str(), before.driverPath.str());
        EXPECT_EQ(DriverSlots.PlotPixel, &BackendPlotPixel);
        PenLineTo(5, 0);
        EXPECT_EQ(BufferPixel(15, 10), DefaultPixel(4));
    }
}

TEST(Modes, PathGetsABackslash) {
    RestartLibrary();
    EXPECT_EQ(GraphState.driverPath.str(), ".");
    int16_t driver = 9, mode = 2;
    InitGraph(driver, mode, "c:\\mirelda\\grafica");
    EXPECT_EQ(GraphState.driverPath.str(), "c:\\mirelda\\grafica\\");
    EXPECT_EQ(GraphState.driverName.str(), "WIN32GUI");
    InitGraph(driver, mode, "c:\\x\\");
    EXPECT_EQ(GraphState.driverPath.str(), "c:\\x\\");
    InitGraph(driver, mode, "");
    EXPECT_EQ(GraphState.driverPath.str(), "");
    std::string full(255, 'p');
    InitGraph(driver, mode, full);
    EXPECT_EQ(GraphState.driverPath.str(), full);
}

TEST(Modes, LeaveGraphicsTwice) {
    StartMode();
    LeaveGraphics();
    EXPECT_FALSE(GraphState.inGraphics);
    EXPECT_EQ(GraphResult(), 0);
    EXPECT_EQ(GraphState.paletteTable, nullptr);
    LeaveGraphics();
    EXPECT_EQ(GraphResult(), GraphErrorNotInGraphics);
    // The back-end routines stay in the slots and draw nothing now.
    PenLineTo(100, 100);
    DriverSlots.WritePaletteEntry(1, 1, 2, 3);
    EXPECT_EQ(GraphResult(), GraphErrorGeneral);
}

TEST(ModesDeathTest, NoBackendStartupIsRunTimeError216) {
    EXPECT_EXIT(
        {
            RuntimeInit();
            RestartLibrary();
            GraphState.backendStartup = nullptr;
            int16_t driver = 9;
            int16_t mode = 2;
            InitGraph(driver, mode, "");
        },
        testing::ExitedWithCode(216), "");
}

}  // namespace
