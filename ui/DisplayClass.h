// The base of every on-screen control: buttons, lists, edit fields, windows, dialogs and the root control.
// None of them is a platform window. The one window hands every mouse event, key and frame to the root
// control, and the dispatch operations here carry them down the tree of controls. Coordinates are always
// absolute pixels of the 800 x 600 page, never relative to the parent.
//
// A control never frees itself: it closes with Set_Kill_Object(1) and stays in the tree until its parent's
// next m_Kill_Any_Dead_Controls, which tells the parent's Kill_Child_Control the child's Name. That is where
// a parent reads the child's result, frees it and may open the next control.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Mouse buttons and the bits of the shift state, as the window passes them on.
constexpr int32_t Mouse_Button_Left = 0;
constexpr int32_t Mouse_Button_Right = 1;
constexpr int32_t Mouse_Button_Middle = 2;
constexpr int32_t Shift_Key = 1;
constexpr int32_t Shift_Alt = 2;
constexpr int32_t Shift_Ctrl = 4;
constexpr int32_t Shift_Left = 8;
constexpr int32_t Shift_Right = 16;
constexpr int32_t Shift_Middle = 32;
constexpr int32_t Shift_Double = 64;

// The size of the page every control lives on.
constexpr int32_t Screen_Width = 800;
constexpr int32_t Screen_Height = 600;

class TDisplay_Class {
public:
    TDisplay_Class();
    virtual ~TDisplay_Class();
    TDisplay_Class(const TDisplay_Class&) = delete;
    TDisplay_Class& operator=(const TDisplay_Class&) = delete;

    // ---- What every control class overrides; the base does nothing ----

    // The natural size; controls always placed with an explicit size keep 0.
    virtual int32_t Get_Width() { return 0; }
    virtual int32_t Get_Height() { return 0; }
    // A child with Kill set, told by its Name: read its result, free it, forget it.
    virtual void Kill_Child_Control(const std::string& name);
    virtual void Handle_MouseMove(int32_t shift, int32_t x, int32_t y);
    virtual void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y);
    virtual void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside);
    // Key is shared by every control the key reaches: a handler that changes it changes what later ones see.
    virtual void Handle_KeyDown(uint16_t& key, int32_t shift);
    virtual void Handle_DrawPage(int32_t page);
    // Places the control's own children from Left and Top.
    virtual void Reposition();

    // ---- Ids ----

    // The next number of the program-wide counter; the first control gets 1 and numbers are never reused.
    static uint32_t Next_Display_Id();
    // Starts the counter again, so a test can expect the ids of the controls it makes.
    static void Reset_Display_Ids();

    // ---- The child array ----

    int32_t Child_Count() const { return static_cast<int32_t>(Children_.size()); }
    // The child at position n (1..Child_Count), or null.
    TDisplay_Class* Child(int32_t n) const;
    // Appends the child and makes this control its parent.
    void Add_Child_Control(TDisplay_Class* child);
    // Takes the child's entry out (by Id, the last match) without freeing it; nothing when not a child.
    void Remove_Child_Control(TDisplay_Class* child);
    // Takes position n out (1..Child_Count) without freeing the child; nothing for another n.
    void m_Delete_Child_Control(int32_t n);
    void Update_Modal_Flag();

    // ---- Hit tests: both the right and the bottom edge count as inside ----

    static bool Point_In_Rect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width, int32_t height);
    bool Hit_Test(int32_t x, int32_t y) const;
    // The first child in array order whose hit test passes, and its position; null and -1 when none.
    TDisplay_Class* Child_At(int32_t x, int32_t y, int32_t& position) const;
    bool Is_Child_At(int32_t x, int32_t y) const;

    // ---- Placing ----

    void Set_Position(const std::string& name, int32_t left, int32_t top, int32_t width, int32_t height,
                      bool modal);
    void Set_Position_At(const std::string& name, int32_t left, int32_t top, bool modal);
    void Center_On_Screen(const std::string& name, bool modal);
    void Set_Visible(bool value) { Visible = value; }
    void Set_On_Top(bool value) { On_Top = value; }
    void Set_Parent(TDisplay_Class* value) { Parent = value; }
    void Set_Kill_Object(uint8_t value);

    // ---- Dispatch ----

    // Mouse moves and presses: true when the point lies inside this control.
    bool MouseMove(int32_t shift, int32_t x, int32_t y);
    bool MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y);
    // Every control of the tree hears every release; outside is false only along the path under the point.
    void MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside);
    bool KeyDown(uint16_t& key, int32_t shift);
    void Draw(int32_t page);
    void Reposition_All();
    // The kill protocol: every child with Kill set is told to its parent, and entries whose child is still
    // killed afterwards leave the array.
    void m_Kill_Any_Dead_Controls();

    // ---- Fields ----

    uint32_t Id = 0;
    std::string Name;
    TDisplay_Class* Parent = nullptr; // not owned
    int32_t Left = 0, Top = 0;
    int32_t Height = 0, Width = 0;
    bool Mouse_Over = false; // the last move was handled by this control itself
    bool Pressed = false;    // the last press was handled by this control itself
    bool Visible = false;    // a hidden control is neither drawn nor hit, but still hears keys
    bool Enabled = true;     // a disabled control has no mouse handler calls and passes no keys on
    bool Modal = false;      // while a parent has a modal child, its input goes only to modal children
    bool On_Top = false;     // drawn after the siblings that are not
    bool Kill = false;       // closed: the parent frees it after the current event
    bool Has_Modal_Child = false;
    bool Key_Consumed = false; // set by Handle_KeyDown to keep the current key from the children

private:
    // The child at position n when the dispatch reaches it: a handler may have drawn a nested frame that
    // removed children, so positions beyond the current count are skipped.
    TDisplay_Class* Present_Child(int32_t n) const { return Child(n); }
    // Whether a later visible modal sibling of position n lies under the point: what the user clicked is
    // that sibling, not the control below it.
    bool Covered_By_Later_Modal(int32_t n, int32_t x, int32_t y) const;
    // One call of Kill_Child_Control; a throwing one is logged and counts as a parent that freed nothing.
    void Tell_Killed_Child(TDisplay_Class* child);
    // The first pass of the kill protocol.
    void Tell_Killed_Children(std::vector<uint32_t>& told);

    // Counts the dispatches of this control that are running, so the kill protocol of a nested frame
    // (a handler that draws one) never frees a control whose handler is still on the stack.
    struct TDispatch_Guard {
        explicit TDispatch_Guard(TDisplay_Class& control) : Control(control) { ++Control.Dispatch_Depth_; }
        ~TDispatch_Guard() { --Control.Dispatch_Depth_; }
        TDispatch_Guard(const TDispatch_Guard&) = delete;
        TDispatch_Guard& operator=(const TDispatch_Guard&) = delete;
        TDisplay_Class& Control;
    };

    std::vector<TDisplay_Class*> Children_; // position n is Children_[n - 1]; not owned
    int32_t Dispatch_Depth_ = 0;
    bool Killing_ = false;    // the kill protocol is running on this control
    bool Kill_Again_ = false; // a nested run was asked for while it ran
};

// Makes a dialog into the slot, centred on the screen and modal under the name, visible, as a child of the
// parent. Nothing when the slot already holds one: a second request for an open dialog is ignored.
template <typename TDialog>
void Open_Modal_Child(TDisplay_Class& parent, std::unique_ptr<TDialog>& slot, const std::string& name) {
    if (slot) return;
    slot = std::make_unique<TDialog>();
    slot->Center_On_Screen(name, true);
    slot->Set_Visible(true);
    parent.Add_Child_Control(slot.get());
}
