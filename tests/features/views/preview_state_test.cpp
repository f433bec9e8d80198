#include "features/views/preview_state.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "support/manual_clock.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Just below the 32-bit wrap of the tick counter, so that every case crosses it.
constexpr std::uint32_t kNearWrap = 0xFFFFFE00u;

class PreviewStateTest : public ::testing::Test {
protected:
    PreviewStateTest() {
        for (const char* id : {"one", "two", "three"}) {
            AddColorMap(m, id);
        }
        AddSequence(m, "trio2", {{"one", 500}, {"two", 500}, {"three", 500}}, 2);
        AddSequence(m, "none", {});
        AddSequence(m, "negative", {{"one", 500}, {"two", 500}}, -1);
        AddSequence(m, "trio", {{"one", 300}, {"two", 200}, {"three", 100}});
        EnableOnly(m, {"_normal", "one", "two", "three", "trio2", "none", "negative", "trio"});
    }
    int Position(const char* id) const { return m.GetEnabledIndex(m.FindFilter(id)); }
    static std::string Name(const CFilter* filter) {
        return filter != nullptr ? filter->GetID() : "(capture)";
    }

    // What the user sees, tick by tick: "time:filter" for every change of the image and
    // "time:close" when the view closes. Ticks come every `period` ms after `phase` ms.
    static std::vector<std::string> Run(CPreviewState& state, ManualClock& clock,
                                        std::uint32_t waitingTime, int ticks,
                                        std::uint32_t phase = 100, std::uint32_t period = 100) {
        std::vector<std::string> seen;
        for (int i = 0; i < ticks; ++i) {
            clock.Advance(i == 0 ? phase : period);
            const PreviewStep step = state.Tick(waitingTime);
            const std::string at = std::to_string(clock.Elapsed()) + ":";
            if (step.show) {
                seen.push_back(at + Name(step.filter));
            }
            if (step.close) {
                seen.push_back(at + "close");
            }
        }
        return seen;
    }

    CFilterManager m;
    ManualClock clock{kNearWrap};
    CPreviewState state{m};
};

using Seen = std::vector<std::string>;

TEST_F(PreviewStateTest, QuickColorMapClosesAtTheFirstTickAfterTheWaitingTime) {
    const struct {
        std::uint32_t waiting;
        std::uint32_t phase;
        const char* closesAt;
    } cases[] = {
        {1000, 100, "1000:close"}, {1000, 30, "1030:close"}, {0, 100, "100:close"},
        {0, 1, "1:close"},         {250, 100, "300:close"},  {1050, 50, "1050:close"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.waiting);
        SCOPED_TRACE(c.phase);
        ManualClock ownClock{kNearWrap};
        CPreviewState ownState(m);
        const PreviewStep first = ownState.Begin(PREVIEW_QUICK, Position("two"));
        EXPECT_TRUE(first.show);
        EXPECT_EQ(Name(first.filter), "two");
        EXPECT_FALSE(first.close);
        EXPECT_TRUE(ownState.IsWaiting());
        EXPECT_EQ(Run(ownState, ownClock, c.waiting, 40, c.phase), Seen{c.closesAt});
        EXPECT_TRUE(ownState.IsClosing());
    }
}

TEST_F(PreviewStateTest, QuickReferencePlaysItsPassesThenKeepsTheLastMemberForTheWaitingTime) {
    const PreviewStep first = state.Begin(PREVIEW_QUICK, Position("trio2"));
    EXPECT_EQ(Name(first.filter), "one");
    EXPECT_FALSE(state.IsWaiting());
    EXPECT_EQ(Run(state, clock, 1000, 60),
              (Seen{"500:two", "1000:three", "1500:one", "2000:two", "2500:three", "3600:close"}));
    EXPECT_EQ(state.GetWaitingStart() - kNearWrap, 2600u);
}

TEST_F(PreviewStateTest, NothingToPlayShowsTheCaptureAndQuickModeWaitsFromTheFirstTick) {
    for (const char* id : {"none", "negative"}) {
        SCOPED_TRACE(id);
        ManualClock ownClock{kNearWrap};
        CPreviewState ownState(m);
        const PreviewStep first = ownState.Begin(PREVIEW_QUICK, Position(id));
        EXPECT_TRUE(first.show);
        EXPECT_EQ(first.filter, nullptr);
        EXPECT_FALSE(ownState.IsWaiting());
        EXPECT_EQ(Run(ownState, ownClock, 500, 20), Seen{"600:close"});
    }
}

TEST_F(PreviewStateTest, DesktopModeSwitchesAndIgnoresTheShownPosition) {
    const PreviewStep first = state.Begin(PREVIEW_DESKTOP, Position("three"));
    EXPECT_EQ(Name(first.filter), "_normal") << "desktop mode starts at position 0";

    const struct {
        int position;
        bool show;
        const char* filter;
    } cases[] = {
        {0, false, ""},
        {Position("three"), true, "three"},
        {Position("three"), false, ""}, // shown already: no re-filtering
        {99, false, ""},
        {-1, false, ""},
        {Position("none"), true, "(capture)"}, // no members: the capture, not "three" left over
        {Position("negative"), true, "one"},   // plays without end in desktop mode
        {Position("_normal"), true, "_normal"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        const PreviewStep step = state.Select(c.position);
        EXPECT_EQ(step.show, c.show);
        if (c.show) {
            EXPECT_EQ(Name(step.filter), c.filter);
        }
        EXPECT_FALSE(step.close);
    }
    EXPECT_EQ(Run(state, clock, 0, 100), Seen{}) << "desktop mode never closes by itself";
}

TEST_F(PreviewStateTest, ReselectingAReferenceDoesNotRestartIt) {
    state.Begin(PREVIEW_DESKTOP, 0);
    state.Select(Position("trio"));
    EXPECT_EQ(Run(state, clock, 0, 3), Seen{"300:two"});
    EXPECT_FALSE(state.Select(Position("trio")).show);
    EXPECT_EQ(Run(state, clock, 0, 2), Seen{"500:three"});
}

TEST_F(PreviewStateTest, ADecidedCloseStopsEverything) {
    state.Begin(PREVIEW_QUICK, Position("trio2"));
    state.DecideClose();
    EXPECT_TRUE(state.IsClosing());
    EXPECT_EQ(Run(state, clock, 0, 50), Seen{});

    // The next opening starts afresh; a position the list no longer has shows "_normal".
    const PreviewStep first = state.Begin(PREVIEW_QUICK, 99);
    EXPECT_FALSE(state.IsClosing());
    EXPECT_EQ(Name(first.filter), "_normal");
    EXPECT_EQ(Run(state, clock, 100, 2), Seen{"5100:close"});
}

} // namespace
