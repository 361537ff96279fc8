// The widget tree: ids, hit tests, placing, the dispatch of moves, presses, releases, keys and drawing,
// and the kill protocol by which a closed control is reported to its parent and freed.
#include "tests/ui/ProbeControl.h"

#include "core/DebugLog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {

class Widget_Tree : public ::testing::Test {
protected:
    void SetUp() override {
        TDisplay_Class::Reset_Display_Ids();
        Set_Log_Observer([this](const std::string& unit, const std::string& line) {
            if (unit == "General") General.push_back(line);
            if (unit == "DisplayClass") Tree_Log.push_back(line);
        });
    }
    void TearDown() override { Set_Log_Observer(nullptr); }

    // Lines of the journal that end with the suffix, in order.
    static TJournal With(const TJournal& lines, const std::string& suffix) {
        TJournal out;
        for (const std::string& l : lines)
            if (l.size() >= suffix.size() && l.compare(l.size() - suffix.size(), suffix.size(), suffix) == 0)
                out.push_back(l);
        return out;
    }

    // The kill reports of the journal, in order.
    static TJournal Told(const TJournal& lines) {
        TJournal out;
        for (const std::string& l : lines)
            if (l.find(" told ") != std::string::npos) out.push_back(l);
        return out;
    }

    TJournal Journal;
    TJournal General, Tree_Log;
};

// A control with a natural size, for the placing routines that read it.
class TSized : public TDisplay_Class {
public:
    TSized(int32_t w, int32_t h) : W(w), H(h) {}
    int32_t Get_Width() override { return W; }
    int32_t Get_Height() override { return H; }
    int32_t W, H;
};

TEST_F(Widget_Tree, IdsCountFromOneAndAreNeverShared) {
    TDisplay_Class a, b, c;
    EXPECT_EQ(a.Id, 1u);
    EXPECT_EQ(b.Id, 2u);
    EXPECT_EQ(c.Id, 3u);
    TDisplay_Class::Reset_Display_Ids();
    TDisplay_Class d;
    EXPECT_EQ(d.Id, 1u);
}

TEST_F(Widget_Tree, HitTestTakesBothEdgesAndOnlyVisibleControls) {
    TProbe c(Journal, "C", 10, 20, 30, 40);
    struct TCase {
        int32_t X, Y;
        bool Visible, Hit;
    } cases[] = {
        {10, 20, true, true}, {40, 60, true, true},  {41, 60, true, false},  {40, 61, true, false},
        {9, 20, true, false}, {10, 19, true, false}, {25, 40, false, false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(testing::Message() << t.X << "," << t.Y << " visible " << t.Visible);
        c.Set_Visible(t.Visible);
        EXPECT_EQ(c.Hit_Test(t.X, t.Y), t.Hit);
    }
    // Near the end of the range the rectangle must not wrap round.
    EXPECT_FALSE(TDisplay_Class::Point_In_Rect(-5, 0, INT32_MAX - 2, 0, 10, 10));
}

TEST_F(Widget_Tree, PlacingCentresAndMovesTheChildrenAlong) {
    TSized dialog(300, 200);
    dialog.Center_On_Screen("Dlg", true);
    EXPECT_EQ(dialog.Name, "Dlg");
    EXPECT_EQ(std::vector<int32_t>({dialog.Left, dialog.Top, dialog.Width, dialog.Height}),
              std::vector<int32_t>({250, 200, 300, 200}));
    EXPECT_TRUE(dialog.Modal);
    TSized odd(301, 199);
    odd.Set_Position_At("Odd", 5, 6, false);
    EXPECT_EQ(std::vector<int32_t>({odd.Left, odd.Top, odd.Width, odd.Height}),
              std::vector<int32_t>({5, 6, 301, 199}));
    odd.Center_On_Screen("Odd", false);
    EXPECT_EQ(odd.Left, 249);
    EXPECT_EQ(odd.Top, 200);

    TProbe window(Journal, "Window", 0, 0, 100, 100);
    TProbe& button = window.Make("Button", 0, 0, 10, 10);
    TProbe& inner = button.Make("Inner", 0, 0, 5, 5);
    button.Follows_Parent = true;
    button.Offset_X = 7;
    button.Offset_Y = 9;
    inner.Follows_Parent = true;
    inner.Offset_X = 1;
    inner.Offset_Y = 2;
    window.Set_Position("Window", 100, 200, 100, 100, false);
    EXPECT_EQ(std::vector<int32_t>({button.Left, button.Top, inner.Left, inner.Top}),
              std::vector<int32_t>({107, 209, 108, 211}));
}

TEST_F(Widget_Tree, MovesMarkOnlyTheControlUnderThePointAndReachEveryChild) {
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    TProbe& a = root.Make("A", 100, 100, 100, 100);
    TProbe& a1 = a.Make("A1", 120, 120, 10, 10);
    TProbe& b = root.Make("B", 400, 100, 100, 100);
    struct TCase {
        int32_t X, Y;
        TJournal Calls;
        bool Root, A, A1, B;
    } cases[] = {
        {10, 10, {"Root move"}, true, false, false, false},
        {150, 150, {"A move"}, false, true, false, false},
        {125, 125, {"A1 move"}, false, false, true, false},
        // A is left, and its children are not visited: A1 keeps its mark.
        {450, 150, {"B move"}, false, false, true, true},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(testing::Message() << t.X << "," << t.Y);
        root.MouseMove(0, t.X, t.Y);
        EXPECT_EQ(Take(Journal), t.Calls);
        EXPECT_EQ(std::vector<bool>({root.Mouse_Over, a.Mouse_Over, a1.Mouse_Over, b.Mouse_Over}),
                  std::vector<bool>({t.Root, t.A, t.A1, t.B}));
    }
    // A disabled control's own handler is skipped, yet its children still hear the move.
    a.Enabled = false;
    root.MouseMove(0, 150, 150);
    root.MouseMove(0, 125, 125);
    EXPECT_EQ(Take(Journal), TJournal({"A1 move"}));
    EXPECT_FALSE(a.Mouse_Over);
    // A modal child takes the moves: the parent and its other children hear nothing.
    TProbe& m = root.Make("M", 600, 400, 50, 50, true);
    root.MouseMove(0, 10, 10);
    root.MouseMove(0, 450, 150);
    root.MouseMove(0, 610, 410);
    EXPECT_EQ(Take(Journal), TJournal({"M move"}));
    EXPECT_TRUE(m.Mouse_Over);
}

TEST_F(Widget_Tree, APressReachesOneControlOrNone) {
    struct TCase {
        const char* What;
        int32_t X, Y;
        bool With_Modal;
        TJournal Calls;
    } cases[] = {
        {"overlap goes to the first added", 160, 160, false, {"A down"}},
        {"the later sibling alone", 220, 220, false, {"B down"}},
        {"the parent itself", 10, 10, false, {"Root down"}},
        {"a child of a disabled parent", 305, 305, false, {"D1 down"}},
        {"a disabled parent itself", 350, 350, false, {}},
        {"over a non-modal child", 160, 160, true, {}},
        {"the parent beside a modal child", 10, 10, true, {}},
        {"the modal child", 510, 510, true, {"M down"}},
        {"outside the root", 900, 10, false, {}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        root.Make("A", 100, 100, 100, 100);
        root.Make("B", 150, 150, 100, 100);
        TProbe& d = root.Make("D", 300, 300, 100, 100);
        d.Enabled = false;
        d.Make("D1", 300, 300, 10, 10);
        if (t.With_Modal) root.Make("M", 500, 500, 50, 50, true);
        root.MouseDown(0, 0, t.X, t.Y);
        EXPECT_EQ(Take(Journal), t.Calls);
    }
}

TEST_F(Widget_Tree, EveryControlHearsEveryReleaseAndOutsideIsFalseOnlyUnderThePoint) {
    struct TCase {
        const char* What;
        int32_t X, Y;
        TJournal Ins; // the controls whose handler got Outside false; every other one got true
    } cases[] = {
        {"a grandchild", 125, 125, {"A1 up in"}}, {"a child around its child", 150, 150, {"A up in"}},
        {"the root", 10, 10, {"Root up in"}},     {"a hidden child is passed over", 255, 105, {"Root up in"}},
        {"a disabled child", 305, 305, {}},       {"outside everything", 900, 900, {}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        TProbe& a = root.Make("A", 100, 100, 100, 100);
        a.Make("A1", 120, 120, 10, 10);
        root.Make("H", 250, 100, 10, 10).Set_Visible(false);
        root.Make("D", 300, 300, 10, 10).Enabled = false;
        // Pressed somewhere else first: where the press went does not matter.
        root.MouseDown(0, 0, 600, 500);
        Take(Journal);
        root.MouseUp(0, 0, t.X, t.Y, false);
        const TJournal calls = Take(Journal);
        EXPECT_EQ(calls.size(), 5u);
        EXPECT_EQ(With(calls, " in"), t.Ins);
    }
}

TEST_F(Widget_Tree, AControlUnderALaterModalSiblingIsOutside) {
    struct TCase {
        const char* What;
        int32_t X, Y;
        TJournal Ins;
    } cases[] = {
        // The click lands on the box drawn over the slot, not on the slot below it.
        {"the slot under the message box", 125, 125, {"Box up in"}},
        {"the slot beside the message box", 105, 105, {"Slot up in"}},
        {"the load box beside its slot", 190, 190, {"Load up in"}},
        {"the non-modal child beside them", 410, 410, {}},
        {"the hidden modal box is no cover", 165, 165, {"Slot up in"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        root.Make("Hud", 400, 400, 50, 50);
        TProbe& load = root.Make("Load", 100, 100, 100, 100, true);
        load.Make("Slot", 100, 100, 80, 80);
        // The box is the last child: the cover test must reach the end of the array.
        root.Make("Hidden", 150, 150, 40, 40, true).Set_Visible(false);
        root.Make("Box", 120, 120, 40, 40, true);
        root.MouseUp(0, 0, t.X, t.Y, false);
        EXPECT_EQ(With(Take(Journal), " in"), t.Ins);
    }
}

TEST_F(Widget_Tree, KeysReachHiddenControlsAndEveryModalChild) {
    struct TCase {
        const char* What;
        bool Modal_Children, Disabled_Window, Consume;
        TJournal Calls;
    } cases[] = {
        {"every control in order, hidden ones too",
         false,
         false,
         false,
         {"Root key 27", "Window key 27", "Field key 27", "Hidden key 27"}},
        {"a disabled control keeps them from its children",
         false,
         true,
         false,
         {"Root key 27", "Window key 27", "Hidden key 27"}},
        {"a consumed key stops at the control",
         false,
         false,
         true,
         {"Root key 27", "Window key 27", "Hidden key 27"}},
        {"one key reaches every modal child, not the parent",
         true,
         false,
         false,
         {"Options key 27", "Message key 27"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        TProbe& window = root.Make("Window", 0, 0, 100, 100);
        window.Make("Field", 0, 0, 10, 10);
        root.Make("Hidden", 0, 0, 10, 10).Set_Visible(false);
        window.Enabled = !t.Disabled_Window;
        if (t.Consume) window.On_Key = [&window](uint16_t&) { window.Key_Consumed = true; };
        if (t.Modal_Children) {
            root.Make("Options", 200, 200, 100, 100, true);
            root.Make("Message", 250, 250, 100, 100, true);
        }
        uint16_t key = 27;
        EXPECT_TRUE(root.KeyDown(key, 0));
        EXPECT_EQ(Take(Journal), t.Calls);
        EXPECT_FALSE(window.Key_Consumed);
    }
    // A handler that changes the key changes what the later controls see.
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    root.Make("First", 0, 0, 1, 1).On_Key = [](uint16_t& key) { key = 0; };
    root.Make("Second", 0, 0, 1, 1);
    uint16_t key = 71;
    root.KeyDown(key, 0);
    EXPECT_EQ(Take(Journal), TJournal({"Root key 71", "First key 71", "Second key 0"}));
    EXPECT_EQ(key, 0);
}

TEST_F(Widget_Tree, DrawingGoesParentFirstThenSiblingsThenTheOnTopOnes) {
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    root.Make("Top", 0, 0, 1, 1).Set_On_Top(true);
    TProbe& a = root.Make("A", 0, 0, 1, 1);
    a.Make("A1", 0, 0, 1, 1);
    TProbe& hidden = root.Make("Hidden", 0, 0, 1, 1);
    hidden.Set_Visible(false);
    hidden.Make("Under_Hidden", 0, 0, 1, 1);
    root.Make("B", 0, 0, 1, 1);
    root.Draw(0);
    EXPECT_EQ(Take(Journal), TJournal({"Root draw", "A draw", "A1 draw", "B draw", "Top draw"}));
}

TEST_F(Widget_Tree, ClosedChildrenAreReportedInArrayOrderAndFreed) {
    struct TCase {
        const char* What;
        std::vector<bool> Closing; // of A, B, C
        TJournal Told;
        std::vector<std::string> Left_Over;
    } cases[] = {
        {"the first two", {true, true, false}, {"Root told A", "Root told B"}, {"C"}},
        {"the first and the last", {true, false, true}, {"Root told A", "Root told C"}, {"B"}},
        {"the last alone", {false, false, true}, {"Root told C"}, {"A", "B"}},
        {"all three", {true, true, true}, {"Root told A", "Root told B", "Root told C"}, {}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        TProbe* children[] = {&root.Make("A", 0, 0, 10, 10), &root.Make("B", 0, 0, 10, 10),
                              &root.Make("C", 0, 0, 10, 10)};
        // All of them close in the same event.
        for (int i = 0; i < 3; ++i)
            if (t.Closing[static_cast<std::size_t>(i)])
                children[i]->On_Key = [c = children[i]](uint16_t&) { c->Set_Kill_Object(1); };
        uint16_t key = 13;
        root.KeyDown(key, 0);
        EXPECT_EQ(Told(Take(Journal)), t.Told);
        EXPECT_EQ(root.Child_Names(), t.Left_Over);
        EXPECT_EQ(root.Owned.size(), t.Left_Over.size());
    }
}

TEST_F(Widget_Tree, AParentThatFreesNothingOrThrowsIsToldOnceAndLosesTheEntry) {
    struct TCase {
        const char* What;
        std::function<void(const std::string&)> Handler;
        TJournal General;
    } cases[] = {
        {"frees nothing", [](const std::string&) {}, {}},
        {"throws",
         [](const std::string&) -> void { throw std::runtime_error("no result"); },
         {"Root - Kill_Child_Control(A) failed: no result",
          "Root - Kill_Child_Control(B) failed: no result"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        General.clear();
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        TProbe& a = root.Make("A", 0, 0, 10, 10);
        TProbe& b = root.Make("B", 0, 0, 10, 10);
        root.Make("C", 0, 0, 10, 10);
        root.On_Killed = t.Handler;
        a.Set_Kill_Object(1);
        b.Set_Kill_Object(1);
        root.Draw(0);
        EXPECT_EQ(Told(Take(Journal)), TJournal({"Root told A", "Root told B"}));
        EXPECT_EQ(root.Child_Names(), std::vector<std::string>({"C"}));
        EXPECT_EQ(General, t.General);
        // Out of the array, the killed children no longer lead back to the parent.
        EXPECT_EQ(a.Parent, nullptr);
        root.Draw(0);
        EXPECT_EQ(Told(Take(Journal)), TJournal{});
    }
}

TEST_F(Widget_Tree, OfTwoChildrenOfOneNameTheOneThatClosedIsFreed) {
    for (const int closing : {0, 1}) {
        SCOPED_TRACE(closing);
        TProbe root(Journal, "Root", 0, 0, 800, 600);
        TProbe* twins[] = {&root.Make("Twin", 0, 0, 10, 10), &root.Make("Twin", 0, 0, 10, 10)};
        TProbe* other = twins[1 - closing];
        twins[closing]->Set_Kill_Object(1);
        root.Draw(0);
        EXPECT_EQ(Told(Take(Journal)), TJournal({"Root told Twin"}));
        ASSERT_EQ(root.Child_Count(), 1);
        EXPECT_EQ(root.Child(1), other);
        EXPECT_TRUE(root.Owns(other));
    }
}

TEST_F(Widget_Tree, AReportThatDrawsANestedFrameAndOpensTheNextControlSkipsAndRepeatsNothing) {
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    // Z closes while the nested frame draws it, after the outer run has already passed it by.
    TProbe& z = root.Make("Z", 0, 0, 10, 10);
    TProbe& a = root.Make("A", 0, 0, 10, 10);
    TProbe& b = root.Make("B", 0, 0, 10, 10);
    z.On_Draw = [&z] { z.Set_Kill_Object(1); };
    int frees = 0;
    root.On_Killed = [&](const std::string& name) {
        frees += root.Free_Killed(name) ? 1 : 0;
        if (name == "A") {
            root.Draw(0); // the progress frame of a long job
            root.Make("Next", 0, 0, 10, 10);
        }
    };
    a.Set_Kill_Object(1);
    b.Set_Kill_Object(1);
    uint16_t key = 27;
    root.KeyDown(key, 0);
    const TJournal lines = Take(Journal);
    EXPECT_EQ(Told(lines), TJournal({"Root told A", "Root told B", "Root told Z"}));
    EXPECT_EQ(frees, 3);
    EXPECT_EQ(root.Child_Names(), std::vector<std::string>({"Next"}));
    // The nested frame drew neither of the closed children.
    EXPECT_EQ(With(lines, " draw"), TJournal({"Root draw", "Z draw"}));
}

TEST_F(Widget_Tree, AControlThatClosesWhileItsHandlerRunsIsFreedOnlyAfterIt) {
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    TProbe& dialog = root.Make("Dialog", 100, 100, 100, 100);
    TProbe& button = dialog.Make("Button", 110, 110, 20, 20);
    bool survived = false;
    // The click closes the dialog and draws a frame before the handler returns.
    button.On_Up = [&](bool outside) {
        if (outside) return;
        dialog.Set_Kill_Object(1);
        root.Draw(0);
        survived = root.Owns(&dialog) && dialog.Child(1) == &button;
    };
    root.MouseUp(0, 0, 115, 115, false);
    EXPECT_TRUE(survived);
    EXPECT_EQ(Told(Take(Journal)), TJournal({"Root told Dialog"}));
    EXPECT_EQ(root.Child_Count(), 0);
}

TEST_F(Widget_Tree, AControlKilledWhileDrawingIsNotDrawnAgainAndIsFreedThatFrame) {
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    TProbe& a = root.Make("A", 0, 0, 10, 10);
    root.Make("B", 0, 0, 10, 10);
    a.On_Draw = [&a] { a.Set_Kill_Object(1); };
    root.Draw(0);
    EXPECT_EQ(Take(Journal), TJournal({"Root draw", "A draw", "B draw", "Root told A"}));
    root.Draw(0);
    EXPECT_EQ(Take(Journal), TJournal({"Root draw", "B draw"}));
}

TEST_F(Widget_Tree, TheModalFlagFollowsAddAndDeleteOnly) {
    TProbe root(Journal, "Root", 0, 0, 800, 600);
    TProbe& plain = root.Make("Plain", 0, 0, 10, 10);
    EXPECT_FALSE(root.Has_Modal_Child);
    plain.Modal = true; // set after adding: not seen until the array changes
    EXPECT_FALSE(root.Has_Modal_Child);
    TProbe& box = root.Make("Box", 0, 0, 10, 10, true);
    EXPECT_TRUE(root.Has_Modal_Child);
    plain.Modal = false;
    box.Set_Kill_Object(1);
    root.Draw(0);
    EXPECT_FALSE(root.Has_Modal_Child);
    // Positions outside the array and strangers change nothing.
    TProbe& kept = root.Make("Kept", 0, 0, 10, 10, true);
    TProbe stranger(Journal, "Stranger", 0, 0, 1, 1);
    for (const int32_t n : {0, 3, -1}) root.m_Delete_Child_Control(n);
    root.Remove_Child_Control(&stranger);
    EXPECT_EQ(root.Child_Names(), std::vector<std::string>({"Plain", "Kept"}));
    root.m_Delete_Child_Control(2);
    EXPECT_FALSE(root.Has_Modal_Child);
    EXPECT_EQ(kept.Parent, nullptr);
}

TEST_F(Widget_Tree, FreeingAControlTakesItOutOfItsParentAndReleasesItsChildren) {
    auto parent = std::make_unique<TProbe>(Journal, "Parent", 0, 0, 100, 100);
    TProbe child(Journal, "Child", 0, 0, 10, 10);
    TProbe sibling(Journal, "Sibling", 0, 0, 10, 10);
    {
        TProbe middle(Journal, "Middle", 0, 0, 50, 50);
        parent->Add_Child_Control(&middle);
        middle.Add_Child_Control(&child);
        parent->Add_Child_Control(&sibling);
        Tree_Log.clear();
    }
    EXPECT_EQ(parent->Child_Names(), std::vector<std::string>({"Sibling"}));
    EXPECT_EQ(child.Parent, nullptr);
    EXPECT_EQ(Tree_Log,
              TJournal({"Middle - Destroy", "f_parent(Parent).Remove_Child_Control( Middle)",
                        "Parent - Remove_Child_Control(Middle)", "Parent - m_Delete_Child_Control(1)"}));
    parent.reset();
    EXPECT_EQ(sibling.Parent, nullptr);
}

} // namespace
