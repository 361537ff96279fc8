#include "ui/DisplayClass.h"

#include "core/DebugLog.h"

#include <algorithm>
#include <exception>

namespace {

uint32_t Display_Id_Counter = 0;

void Log_Control(const std::string& text) {
    Log("DisplayClass", text);
}

} // namespace

TDisplay_Class::TDisplay_Class() : Id(Next_Display_Id()) {
    Log_Control(Name + " - Create");
}

TDisplay_Class::~TDisplay_Class() {
    Log_Control(Name + " - Destroy");
    // Children that outlive this control must not reach it through their Parent any more.
    for (TDisplay_Class* child : Children_)
        if (child->Parent == this) child->Parent = nullptr;
    Children_.clear();
    if (Parent) {
        Log_Control("f_parent(" + Parent->Name + ").Remove_Child_Control( " + Name + ")");
        Parent->Remove_Child_Control(this);
    }
}

void TDisplay_Class::Kill_Child_Control(const std::string&) {}
void TDisplay_Class::Handle_MouseMove(int32_t, int32_t, int32_t) {}
void TDisplay_Class::Handle_MouseDown(int32_t, int32_t, int32_t, int32_t) {}
void TDisplay_Class::Handle_MouseUp(int32_t, int32_t, int32_t, int32_t, bool) {}
void TDisplay_Class::Handle_KeyDown(uint16_t&, int32_t) {}
void TDisplay_Class::Handle_DrawPage(int32_t) {}
void TDisplay_Class::Reposition() {}

uint32_t TDisplay_Class::Next_Display_Id() {
    return ++Display_Id_Counter;
}

void TDisplay_Class::Reset_Display_Ids() {
    Display_Id_Counter = 0;
}

// ---- The child array ----

TDisplay_Class* TDisplay_Class::Child(int32_t n) const {
    if (n < 1 || n > Child_Count()) return nullptr;
    return Children_[static_cast<std::size_t>(n - 1)];
}

void TDisplay_Class::Add_Child_Control(TDisplay_Class* child) {
    if (!child) return;
    Log_Control(Name + " - Add_Child_Control(" + child->Name + ")");
    Children_.push_back(child);
    child->Set_Parent(this);
    Update_Modal_Flag();
}

void TDisplay_Class::Remove_Child_Control(TDisplay_Class* child) {
    if (!child) return;
    Log_Control(Name + " - Remove_Child_Control(" + child->Name + ")");
    int32_t found = 0;
    for (int32_t n = 1; n <= Child_Count(); ++n)
        if (Child(n)->Id == child->Id) found = n;
    if (found >= 1) m_Delete_Child_Control(found);
}

void TDisplay_Class::m_Delete_Child_Control(int32_t n) {
    Log_Control(Name + " - m_Delete_Child_Control(" + std::to_string(n) + ")");
    if (n < 1 || n > Child_Count()) return;
    TDisplay_Class* child = Children_[static_cast<std::size_t>(n - 1)];
    Children_.erase(Children_.begin() + (n - 1));
    // Out of the array, the child has no way back to this control; its destructor must not look for it.
    if (child->Parent == this) child->Parent = nullptr;
    Update_Modal_Flag();
}

void TDisplay_Class::Update_Modal_Flag() {
    Has_Modal_Child =
        std::any_of(Children_.begin(), Children_.end(), [](const TDisplay_Class* c) { return c->Modal; });
}

// ---- Hit tests ----

bool TDisplay_Class::Point_In_Rect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width,
                                   int32_t height) {
    // In 64 bits: a rectangle near the end of the range must not wrap round and take every point.
    return left <= x && int64_t{x} <= int64_t{left} + width && top <= y &&
           int64_t{y} <= int64_t{top} + height;
}

bool TDisplay_Class::Hit_Test(int32_t x, int32_t y) const {
    return Visible && Point_In_Rect(x, y, Left, Top, Width, Height);
}

TDisplay_Class* TDisplay_Class::Child_At(int32_t x, int32_t y, int32_t& position) const {
    for (int32_t n = 1; n <= Child_Count(); ++n)
        if (Child(n)->Hit_Test(x, y)) {
            position = n;
            return Child(n);
        }
    position = -1;
    return nullptr;
}

bool TDisplay_Class::Is_Child_At(int32_t x, int32_t y) const {
    int32_t position = 0;
    return Child_At(x, y, position) != nullptr;
}

bool TDisplay_Class::Covered_By_Later_Modal(int32_t n, int32_t x, int32_t y) const {
    for (int32_t later = n + 1; later <= Child_Count(); ++later) {
        const TDisplay_Class* sibling = Child(later);
        if (sibling->Modal && sibling->Hit_Test(x, y)) return true;
    }
    return false;
}

// ---- Placing ----

void TDisplay_Class::Set_Position(const std::string& name, int32_t left, int32_t top, int32_t width,
                                  int32_t height, bool modal) {
    Name = name;
    Left = left;
    Top = top;
    Width = width;
    Height = height;
    Modal = modal;
    Reposition_All();
}

void TDisplay_Class::Set_Position_At(const std::string& name, int32_t left, int32_t top, bool modal) {
    Set_Position(name, left, top, Get_Width(), Get_Height(), modal);
}

void TDisplay_Class::Center_On_Screen(const std::string& name, bool modal) {
    const int32_t width = Get_Width(), height = Get_Height();
    Set_Position(name, (Screen_Width - width) / 2, (Screen_Height - height) / 2, width, height, modal);
}

void TDisplay_Class::Set_Kill_Object(uint8_t value) {
    Log_Control(Name + " - Set_Kill_Object");
    Kill = value != 0;
}

// ---- Dispatch ----

bool TDisplay_Class::MouseMove(int32_t shift, int32_t x, int32_t y) {
    if (!Hit_Test(x, y)) {
        Mouse_Over = false;
        return false;
    }
    TDispatch_Guard guard(*this);
    Mouse_Over = false;
    if (!Is_Child_At(x, y) && !Has_Modal_Child && Enabled) {
        Mouse_Over = true;
        Handle_MouseMove(shift, x, y);
    }
    const int32_t count = Child_Count();
    for (int32_t n = 1; n <= count; ++n) {
        TDisplay_Class* child = Present_Child(n);
        if (child && (!Has_Modal_Child || child->Modal)) child->MouseMove(shift, x, y);
    }
    return true;
}

bool TDisplay_Class::MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    const bool inside = Hit_Test(x, y);
    {
        TDispatch_Guard guard(*this);
        Pressed = false;
        if (inside) {
            int32_t position = 0;
            if (TDisplay_Class* child = Child_At(x, y, position)) {
                if (!Has_Modal_Child || child->Modal) child->MouseDown(button, shift, x, y);
            } else if (!Has_Modal_Child && Enabled) {
                Pressed = true;
                Handle_MouseDown(button, shift, x, y);
            }
        }
    }
    m_Kill_Any_Dead_Controls();
    return inside;
}

void TDisplay_Class::MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) {
    Log_Control(Name + " - MouseUp");
    {
        TDispatch_Guard guard(*this);
        Pressed = false;
        const bool inside = Hit_Test(x, y);
        const bool own_outside = !(inside && !Is_Child_At(x, y) && !Has_Modal_Child && Enabled);
        Handle_MouseUp(button, shift, x, y, own_outside || outside);
        const int32_t count = Child_Count();
        for (int32_t n = 1; n <= count; ++n) {
            TDisplay_Class* child = Present_Child(n);
            if (!child) continue;
            const bool child_outside =
                !(inside && (!Has_Modal_Child || child->Modal) && !Covered_By_Later_Modal(n, x, y));
            child->MouseUp(button, shift, x, y, child_outside || outside);
        }
    }
    m_Kill_Any_Dead_Controls();
}

bool TDisplay_Class::KeyDown(uint16_t& key, int32_t shift) {
    {
        TDispatch_Guard guard(*this);
        if (!Has_Modal_Child) Handle_KeyDown(key, shift);
        if (!Key_Consumed) {
            const int32_t count = Child_Count();
            for (int32_t n = 1; n <= count; ++n) {
                TDisplay_Class* child = Present_Child(n);
                if (child && Enabled && (!Has_Modal_Child || child->Modal)) child->KeyDown(key, shift);
            }
        }
        Key_Consumed = false;
    }
    m_Kill_Any_Dead_Controls();
    return true;
}

void TDisplay_Class::Draw(int32_t page) {
    if (Visible) {
        TDispatch_Guard guard(*this);
        Handle_DrawPage(page);
        const int32_t count = Child_Count();
        for (const bool on_top : {false, true})
            for (int32_t n = 1; n <= count; ++n) {
                TDisplay_Class* child = Present_Child(n);
                if (child && !child->Kill && child->On_Top == on_top) child->Draw(page);
            }
    }
    m_Kill_Any_Dead_Controls();
}

void TDisplay_Class::Reposition_All() {
    Log_Control(Name + " - Reposition");
    {
        TDispatch_Guard guard(*this);
        Reposition();
        const int32_t count = Child_Count();
        for (int32_t n = 1; n <= count; ++n)
            if (TDisplay_Class* child = Present_Child(n)) child->Reposition_All();
    }
    m_Kill_Any_Dead_Controls();
}

// ---- The kill protocol ----

void TDisplay_Class::Tell_Killed_Child(TDisplay_Class* child) {
    const std::string name = child->Name;
    try {
        Kill_Child_Control(name);
    } catch (const std::exception& e) {
        Log("General", Name + " - Kill_Child_Control(" + name + ") failed: " + e.what());
    } catch (...) {
        Log("General", Name + " - Kill_Child_Control(" + name + ") failed");
    }
}

void TDisplay_Class::Tell_Killed_Children(std::vector<uint32_t>& told) {
    int32_t n = 1;
    while (n <= Child_Count()) {
        TDisplay_Class* child = Child(n);
        // A child is told once per run: a parent that leaves it in place is not told again forever, and a
        // child whose handler is still running is left for the run at the end of that dispatch.
        const bool tell = child->Kill && child->Dispatch_Depth_ == 0 &&
                          std::find(told.begin(), told.end(), child->Id) == told.end();
        if (!tell) {
            ++n;
            continue;
        }
        told.push_back(child->Id);
        // Freeing the child takes it out of the array, so the next one moves into position n.
        Tell_Killed_Child(child);
    }
}

void TDisplay_Class::m_Kill_Any_Dead_Controls() {
    // A Kill_Child_Control that draws a frame (a progress dialog) comes back here before it returns; the
    // run below looks at the whole array again afterwards, so nothing is told or freed twice.
    if (Killing_) {
        Kill_Again_ = true;
        return;
    }
    Log_Control(Name + " - m_Kill_Any_Dead_Controls");
    struct TRun {
        explicit TRun(bool& flag) : Flag(flag) { Flag = true; }
        ~TRun() { Flag = false; }
        TRun(const TRun&) = delete;
        TRun& operator=(const TRun&) = delete;
        bool& Flag;
    } run(Killing_);
    std::vector<uint32_t> told;
    do {
        Kill_Again_ = false;
        Tell_Killed_Children(told);
    } while (Kill_Again_);
    int32_t n = 1;
    while (n <= Child_Count()) {
        const TDisplay_Class* child = Child(n);
        if (child->Kill && child->Dispatch_Depth_ == 0)
            m_Delete_Child_Control(n);
        else
            ++n;
    }
}
