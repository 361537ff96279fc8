// How the world model reaches the display: it draws its items, spells, terrain, squares, creatures and
// sprites as cells of the display's picture sheets and as short texts, and asks for pictures the current
// map's sheets do not hold yet (creatures summoned during play bring their pictures to the monster sheet).
// The display layer installs its own sink; without one nothing is drawn or loaded and every picture
// answers "no cell". Tests install the recorder.
//
// Every drawing call names the target buffer and the top-left corner of the cell there. Cell numbers are
// the 0-based sheet slots the map gives its objects; a negative one draws nothing.
#pragma once

#include "core/SaveStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDisplay_Sink {
public:
    virtual ~TDisplay_Sink() = default;
    // Loads the pictures into the monster sheet after its cells; a name the sheet holds is not loaded again.
    virtual void Append_Monster_Pictures(const TString_List& names) = 0;
    // The 0-based cell of the picture in the monster sheet; -1 when the sheet does not hold it.
    virtual int32_t Monster_Picture_Cell(const std::string& name) const = 0;

    // Map cells. Centred places a 32 x 32 picture in the middle of a 54 x 54 square's floor.
    virtual void Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) = 0;
    // Border pictures 1..15; any other type draws nothing.
    virtual void Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) = 0;
    virtual void Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred, int32_t cell) = 0;
    virtual void Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) = 0;
    virtual void Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) = 0;
    // Spell pictures: state 2 is the pressed look (the icon moves 2 pixels right and down).
    virtual void Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state, int32_t cell) = 0;
    virtual void Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row, int32_t column) = 0;
    // Hit pictures: cell kind * 3 + frame of the damage-effect sheet.
    virtual void Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred, int32_t kind,
                                      int32_t frame) = 0;
    // Frame n (from 1) of display effect `effect` (from 1), centred in the square.
    virtual void Draw_Display_Effect_Frame(int32_t target, int32_t x, int32_t y, int32_t effect,
                                           int32_t frame) = 0;
    // A rectangle of extra bitmap n (from 1).
    virtual void Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n, int32_t source_x,
                                   int32_t source_y, int32_t width, int32_t height, bool centred) = 0;

    // Text: the style (1..6), colour and justification codes apply to every later Draw_Text.
    virtual void Set_Text_Style(int32_t style) = 0;
    virtual void Set_Text_Color(int32_t red, int32_t green, int32_t blue) = 0;
    virtual void Set_Text_Justify(int32_t horizontal, int32_t vertical) = 0;
    virtual void Draw_Text(int32_t target, int32_t x, int32_t y, const std::string& text) = 0;
};

class TNo_Display_Sink : public TDisplay_Sink {
public:
    void Append_Monster_Pictures(const TString_List&) override {}
    int32_t Monster_Picture_Cell(const std::string&) const override { return -1; }
    void Draw_Terrain_Tile(int32_t, int32_t, int32_t, int32_t) override {}
    void Draw_Border_Tile(int32_t, int32_t, int32_t, int32_t) override {}
    void Draw_Item_Tile(int32_t, int32_t, int32_t, bool, int32_t) override {}
    void Draw_Monster_Tile(int32_t, int32_t, int32_t, int32_t) override {}
    void Draw_Secret_Marker(int32_t, int32_t, int32_t, bool) override {}
    void Draw_Spell_Icon(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Draw_Spell_Container(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Draw_Damage_FX_Frame(int32_t, int32_t, int32_t, bool, int32_t, int32_t) override {}
    void Draw_Display_Effect_Frame(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
    void Draw_Extra_Bitmap(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                           bool) override {}
    void Set_Text_Style(int32_t) override {}
    void Set_Text_Color(int32_t, int32_t, int32_t) override {}
    void Set_Text_Justify(int32_t, int32_t) override {}
    void Draw_Text(int32_t, int32_t, int32_t, const std::string&) override {}
};

// Keeps the monster sheet as a list of names (each once, in the order they came) and records every call.
// Drawing calls are kept as text, "Name(argument, ...)" with booleans as 0 and 1 and texts in quotes, so a
// test compares a whole drawing with one list.
class TRecording_Display_Sink : public TDisplay_Sink {
public:
    void Append_Monster_Pictures(const TString_List& names) override;
    int32_t Monster_Picture_Cell(const std::string& name) const override;
    void Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) override;
    void Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) override;
    void Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred, int32_t cell) override;
    void Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) override;
    void Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) override;
    void Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state, int32_t cell) override;
    void Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row, int32_t column) override;
    void Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred, int32_t kind,
                              int32_t frame) override;
    void Draw_Display_Effect_Frame(int32_t target, int32_t x, int32_t y, int32_t effect,
                                   int32_t frame) override;
    void Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n, int32_t source_x,
                           int32_t source_y, int32_t width, int32_t height, bool centred) override;
    void Set_Text_Style(int32_t style) override;
    void Set_Text_Color(int32_t red, int32_t green, int32_t blue) override;
    void Set_Text_Justify(int32_t horizontal, int32_t vertical) override;
    void Draw_Text(int32_t target, int32_t x, int32_t y, const std::string& text) override;

    std::vector<std::string> Monster_Sheet; // the sheet's names; cell = position
    std::vector<std::string> Appended;      // every name appended, in call order
    std::vector<std::string> Calls;         // every drawing and text call, in call order
};

// The sink in use (TNo_Display_Sink unless one was installed).
TDisplay_Sink& Display_Sink();
// Installs the sink (null: none) and gives back the one it replaces, so a caller may put that back.
std::shared_ptr<TDisplay_Sink> Install_Display_Sink(std::shared_ptr<TDisplay_Sink> sink);
