#include "app/app_profile.h"
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "engine/filter/filter_status.h"
#include "support/manual_clock.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One manager for the whole suite; each test gets a fresh enabled list on top of the
// filters added once.
class FilterStatusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CFilterManager& m = GetFilterManager();
        if (m.FindFilter("red") != nullptr) {
            return;
        }
        AddColorMap(m, "red");
        AddColorMap(m, "green");
        AddColorMap(m, "blue");
        AddSequence(m, "seq", {{"red", 1000}, {"green", 500}, {"blue", 2000}}, 0);
        AddSequence(m, "seq2", {{"red", 1000}, {"green", 500}, {"blue", 2000}}, 2);
        AddSequence(m, "seqneg", {{"red", 1000}}, -1);
        AddSequence(m, "seqzero", {{"red", 0}, {"green", -20}}, 0);
        AddSequence(m, "empty", {}, 0);
    }
    void SetUp() override {
        CFilterManager& m = GetFilterManager();
        m.GetEnabledList().clear();
        for (const char* id : {"_normal", "red", "seq", "seq2", "seqneg", "seqzero", "empty"}) {
            m.AppendEnabled(m.FindFilter(id));
        }
    }
    static CFilter* F(const char* id) { return GetFilterManager().FindFilter(id); }
    static int Position(const char* id) { return GetFilterManager().GetEnabledIndex(F(id)); }

    // Runs a view's timer: returns the IDs shown at each tick where something new came up.
    static std::vector<std::string> Play(CFilterStatus& s, ManualClock& clock, int ticks,
                                         std::uint32_t period) {
        std::vector<std::string> shown;
        for (int i = 0; i < ticks; ++i) {
            clock.Advance(period);
            if (s.IsSequenceDue()) {
                if (CFilter* f = s.AdvanceSequence()) {
                    shown.push_back(f->GetID());
                }
            }
        }
        return shown;
    }
};

TEST_F(FilterStatusTest, SelectionFollowsTheEnabledList) {
    CFilterStatus s(GetFilterManager());
    EXPECT_EQ(s.GetSelectedIndex(), 0);
    EXPECT_EQ(s.GetSelectedFilter(), F("_normal"));
    s.SelectIndex(1);
    EXPECT_EQ(s.GetSelectedFilter(), F("red"));
    s.SelectIndex(99);
    s.SelectIndex(-1);
    EXPECT_EQ(s.GetSelectedIndex(), 1);
    // The list shrinks under the view: the position names nothing, "_normal" stands in.
    GetFilterManager().GetEnabledList().resize(1);
    EXPECT_EQ(s.GetSelectedFilter(), F("_normal"));
    s.ResetSelection();
    EXPECT_EQ(s.GetSelectedIndex(), 0);

    CFilterStatus copy(s);
    EXPECT_EQ(copy.GetSelectedIndex(), 0);
}

TEST_F(FilterStatusTest, EndlessLoopInAWindow) {
    ManualClock clock;
    CFilterStatus s(GetFilterManager());
    s.SelectIndex(Position("seq"));
    s.StartSequence();
    ASSERT_TRUE(s.IsSequenceDue());
    EXPECT_EQ(s.AdvanceSequence(), F("red")) << "first member shows at once";
    EXPECT_EQ(s.AdvanceSequence(), nullptr);
    // 50 ms ticks: green after 1000, blue 500 later, red again 2000 later, and on.
    std::vector<std::string> shown;
    std::vector<int> at;
    for (int tick = 1; tick <= 150; ++tick) {
        clock.Advance(50);
        if (CFilter* f = s.AdvanceSequence()) {
            shown.push_back(f->GetID());
            at.push_back(tick * 50);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"green", "blue", "red", "green", "blue", "red"}));
    EXPECT_EQ(at, (std::vector<int>{1000, 1500, 3500, 4500, 5000, 7000}));
    EXPECT_TRUE(s.IsSequenceRunning());
    EXPECT_EQ(s.GetShownFilter(), F("red"));
}

TEST_F(FilterStatusTest, LimitedPlaybackInQuickMode) {
    struct Case {
        const char* id;
        std::vector<std::string> shownAfterStart;
        bool firstDue;
    };
    const Case cases[] = {
        // Repeat 2: two passes, the last member of the last pass ends the sequence at once.
        {"seq2", {"green", "blue", "red", "green", "blue"}, true},
        // Repeat absent: one pass.
        {"seq", {"green", "blue"}, true},
        // Negative repeat: never running.
        {"seqneg", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ManualClock clock;
        CFilterStatus s(GetFilterManager());
        s.SetLimitedRepeat(true);
        s.SelectIndex(Position(c.id));
        s.StartSequence();
        EXPECT_EQ(s.IsSequenceDue(), c.firstDue);
        if (c.firstDue) {
            EXPECT_EQ(s.AdvanceSequence(), F("red"));
        }
        EXPECT_EQ(Play(s, clock, 400, 100), c.shownAfterStart);
        EXPECT_FALSE(s.IsSequenceRunning());
    }
}

TEST_F(FilterStatusTest, ZeroAndNegativeTimeoutsLastOneTick) {
    ManualClock clock;
    CFilterStatus s(GetFilterManager());
    s.SelectIndex(Position("seqzero"));
    s.StartSequence();
    EXPECT_EQ(s.AdvanceSequence(), F("red"));
    EXPECT_TRUE(s.IsSequenceDue()) << "a timeout of 0 is due immediately";
    EXPECT_EQ(Play(s, clock, 3, 100), (std::vector<std::string>{"green", "red", "green"}));
}

TEST_F(FilterStatusTest, ReselectionRestartsAndEmptyListShowsNothing) {
    ManualClock clock;
    CFilterStatus s(GetFilterManager());
    s.SetLimitedRepeat(true);
    s.SelectIndex(Position("seq"));
    s.StartSequence();
    s.AdvanceSequence();
    Play(s, clock, 40, 100);
    EXPECT_FALSE(s.IsSequenceRunning());
    s.SelectIndex(Position("seq"));
    s.StartSequence();
    EXPECT_EQ(s.AdvanceSequence(), F("red"));

    CFilterStatus e(GetFilterManager());
    e.SelectIndex(Position("empty"));
    e.StartSequence();
    EXPECT_FALSE(e.IsSequenceRunning());
    EXPECT_EQ(e.AdvanceSequence(), nullptr);

    // A colour-map selection has no sequence at all.
    CFilterStatus plain(GetFilterManager());
    plain.SelectIndex(Position("red"));
    plain.StartSequence();
    EXPECT_FALSE(plain.IsSequenceDue());
    EXPECT_EQ(plain.GetShownFilter(), nullptr);
}

TEST_F(FilterStatusTest, DueAcrossTheTickWrap) {
    ManualClock clock(0xFFFFFFFFu - 400);
    CFilterStatus s(GetFilterManager());
    s.SelectIndex(Position("seq"));
    s.StartSequence();
    s.AdvanceSequence();
    clock.Advance(999);
    EXPECT_FALSE(s.IsSequenceDue());
    clock.Advance(1);
    EXPECT_TRUE(s.IsSequenceDue());
}

} // namespace
