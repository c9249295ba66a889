#include <gtest/gtest.h>

#include "app/run_phase.h"
#include "app/scan_to_virtual_key.h"
#include "app/window_params.h"

namespace {

TEST(FrameFactorTest, MeasuresStepsIn13MillisecondUnits) {
  SecondsPerTick = 1e-6L;  // a microsecond counter
  PreviousCounter = 1'000'000;
  EXPECT_NEAR(static_cast<double>(MeasureFrameFactor(1'013'000)), 1.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(MeasureFrameFactor(1'019'500)), 0.5, 1e-9);
  // Implausible steps count as nothing: too long, a counter that did not move, or went back.
  EXPECT_EQ(MeasureFrameFactor(2'519'500), 0);
  EXPECT_EQ(MeasureFrameFactor(2'519'500), 0);
  EXPECT_EQ(MeasureFrameFactor(1'019'500), 0);
  EXPECT_EQ(PreviousCounter, 1'019'500);
}

TEST(LightFadeTest, RisesFromOneTo200InExactly149Steps) {
  LightLevel = 1;
  int steps = 0;
  while (StepLightFade())
    ++steps;
  EXPECT_EQ(steps, 149);
  EXPECT_EQ(LightLevel, 200);
  // A finished fade never runs again, nor one that never started.
  EXPECT_FALSE(StepLightFade());
  LightLevel = 0;
  EXPECT_FALSE(StepLightFade());
}

TEST(MenuFadeTest, FadesInOneButtonAtATimeWithTheFirstTwoTogether) {
  ButtonFade.fill(0);
  FadeIn = true;
  for (int step = 0; step < 10; ++step)
    EXPECT_EQ(StepMenuFade(2), MenuFadeResult::Running);
  EXPECT_EQ(ButtonFade[0], 20);
  EXPECT_EQ(ButtonFade[1], 20);
  EXPECT_EQ(ButtonFade[2], 0);
  EXPECT_EQ(StepMenuFade(2), MenuFadeResult::Running);
  EXPECT_EQ(ButtonFade[2], 2);

  int steps = 0;
  while (StepMenuFade(2) == MenuFadeResult::Running)
    ++steps;
  EXPECT_EQ(steps, 59);  // buttons 3..8 take 10 steps each, less the one already taken
  for (long double value : ButtonFade)
    EXPECT_EQ(value, 20);
}

TEST(MenuFadeTest, FadesOutFromTheLastButtonAtTwiceTheSpeed) {
  ButtonFade.fill(20);
  FadeIn = false;
  EXPECT_EQ(StepMenuFade(1), MenuFadeResult::Running);
  EXPECT_EQ(ButtonFade[7], 18);
  EXPECT_EQ(ButtonFade[6], 20);

  int steps = 1;
  while (StepMenuFade(1) == MenuFadeResult::Running)
    ++steps;
  EXPECT_EQ(steps, 70);  // seven values of 20 at 2 per step; the first follows the second
  EXPECT_LE(ButtonFade[0], 0);
}

TEST(LevelTimeTest, PrintsMinutesAndSeconds) {
  struct Case {
    long double time;
    const char* text;
    int32_t seconds;
  };
  for (const Case& c : {Case{605.7L, "10:05", 5}, Case{65, "01:05", 5}, Case{-3, "-00:03", 3},
                        Case{0.4L, "00:00", 0}, Case{-61.9L, "-01:01", 1}}) {
    SCOPED_TRACE(c.text);
    int32_t seconds = -1;
    EXPECT_EQ(FormatLevelTime(c.time, seconds), c.text);
    EXPECT_EQ(seconds, c.seconds);
  }
}

TEST(WindowParamsTest, WindowedSelectorFollowsTheSettingsByte) {
  EXPECT_EQ(WindowedSelectorFor(1), 0);
  EXPECT_EQ(WindowedSelectorFor(0), -1);
  EXPECT_EQ(WindowedSelectorFor(2), -1);
}

TEST(ScanToVirtualKeyTest, MapsTheKeysOfTheUsLayout) {
  FillScanToVirtualKey();
  EXPECT_EQ(ScanToVirtualKey[15], 9);    // Tab
  EXPECT_EQ(ScanToVirtualKey[62], 115);  // F4
  EXPECT_EQ(ScanToVirtualKey[1], 27);
  EXPECT_EQ(ScanToVirtualKey[11], 48);
  EXPECT_EQ(ScanToVirtualKey[44], 90);  // Z
  EXPECT_EQ(ScanToVirtualKey[58], 20);
  EXPECT_EQ(ScanToVirtualKey[83], 110);
  EXPECT_EQ(ScanToVirtualKey[88], 123);  // F12
  EXPECT_EQ(ScanToVirtualKey[223], 95);
  EXPECT_EQ(ScanToVirtualKey[84], 0);
  EXPECT_EQ(ScanToVirtualKey[255], 0);
}

}  // namespace
