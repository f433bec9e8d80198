#include "engine/filter/filter_status.h"

#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "support/manual_clock.h"
#include "support/test_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FilterStatusTest : public ::testing::Test {
protected:
    FilterStatusTest() {
        for (const char* id : {"red", "green", "blue"}) {
            AddColorMap(m, id);
        }
        AddSequence(m, "seq", {{"red", 1000}, {"green", 500}, {"blue", 2000}}, 0);
        AddSequence(m, "seq2", {{"red", 1000}, {"green", 500}, {"blue", 2000}}, 2);
        AddSequence(m, "seqneg", {{"red", 1000}}, -1);
        AddSequence(m, "seqzero", {{"red", 0}, {"green", -20}}, 0);
        AddSequence(m, "empty", {}, 0);
        EnableOnly(m, {"_normal", "red", "seq", "seq2", "seqneg", "seqzero", "empty"});
    }
    CFilter* F(const char* id) const { return m.FindFilter(id); }
    // A status with the filter selected and started, as a view opens it.
    CFilterStatus Started(const char* id, bool limited = false) const {
        CFilterStatus s(m);
        s.SetLimitedRepeat(limited);
        s.SelectIndex(m.GetEnabledIndex(F(id)));
        s.StartSequence();
        return s;
    }

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

    CFilterManager m;
};

using Shown = std::vector<std::string>;

TEST_F(FilterStatusTest, SelectionFollowsTheEnabledList) {
    CFilterStatus s(m);
    EXPECT_EQ(s.GetSelectedFilter(), F("_normal"));
    s.SelectIndex(1);
    EXPECT_EQ(s.GetSelectedFilter(), F("red"));
    s.SelectIndex(99);
    s.SelectIndex(-1);
    EXPECT_EQ(s.GetSelectedIndex(), 1);
    // The list shrinks under the view: the position names nothing, "_normal" stands in.
    m.GetEnabledList().resize(1);
    EXPECT_EQ(s.GetSelectedFilter(), F("_normal"));
    s.ResetSelection();
    EXPECT_EQ(CFilterStatus(s).GetSelectedIndex(), 0);
}

// The clock starts just below the 32-bit wrap, which the loop crosses between two members.
TEST_F(FilterStatusTest, EndlessLoopInAWindow) {
    ManualClock clock;
    CFilterStatus s = Started("seq");
    ASSERT_TRUE(s.IsSequenceDue());
    EXPECT_EQ(s.AdvanceSequence(), F("red")) << "first member shows at once";
    EXPECT_EQ(s.AdvanceSequence(), nullptr);
    // 50 ms ticks: green after 1000, blue 500 later, red again 2000 later, and on.
    Shown shown;
    std::vector<int> at;
    for (int tick = 1; tick <= 150; ++tick) {
        clock.Advance(50);
        if (CFilter* f = s.AdvanceSequence()) {
            shown.push_back(f->GetID());
            at.push_back(tick * 50);
        }
    }
    EXPECT_EQ(shown, (Shown{"green", "blue", "red", "green", "blue", "red"}));
    EXPECT_EQ(at, (std::vector<int>{1000, 1500, 3500, 4500, 5000, 7000}));
    EXPECT_TRUE(s.IsSequenceRunning());
    EXPECT_EQ(s.GetShownFilter(), F("red"));
}

TEST_F(FilterStatusTest, LimitedPlaybackInQuickMode) {
    const struct {
        const char* id;
        Shown shownAfterStart;
        bool firstDue;
    } cases[] = {
        // Repeat 2: two passes, the last member of the last pass ends the sequence at once.
        {"seq2", {"green", "blue", "red", "green", "blue"}, true},
        // Repeat absent: one pass.
        {"seq", {"green", "blue"}, true},
        // Negative repeat: never running.
        {"seqneg", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        ManualClock clock;
        CFilterStatus s = Started(c.id, true);
        EXPECT_EQ(s.IsSequenceDue(), c.firstDue);
        if (c.firstDue) {
            EXPECT_EQ(s.AdvanceSequence(), F("red"));
        }
        EXPECT_EQ(Play(s, clock, 400, 100), c.shownAfterStart);
        EXPECT_FALSE(s.IsSequenceRunning());
        // Selected again, it starts from its first member.
        s.SelectIndex(m.GetEnabledIndex(F(c.id)));
        s.StartSequence();
        EXPECT_EQ(s.AdvanceSequence(), c.firstDue ? F("red") : nullptr);
    }
}

TEST_F(FilterStatusTest, ZeroAndNegativeTimeoutsLastOneTick) {
    ManualClock clock;
    CFilterStatus s = Started("seqzero");
    EXPECT_EQ(s.AdvanceSequence(), F("red"));
    EXPECT_TRUE(s.IsSequenceDue()) << "a timeout of 0 is due immediately";
    EXPECT_EQ(Play(s, clock, 3, 100), (Shown{"green", "red", "green"}));
}

TEST_F(FilterStatusTest, EmptyListAndColourMapsPlayNothing) {
    CFilterStatus empty = Started("empty");
    EXPECT_FALSE(empty.IsSequenceRunning());
    EXPECT_EQ(empty.AdvanceSequence(), nullptr);
    CFilterStatus plain = Started("red");
    EXPECT_FALSE(plain.IsSequenceDue());
    EXPECT_EQ(plain.GetShownFilter(), nullptr);
}

} // namespace
