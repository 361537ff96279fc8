// The global tables read without path settings (a tool or test that never made them): each load fails
// with the loader's own "cannot load" line under its heading, never by reaching through a missing object.
#include "core/CharClass.h"
#include "core/DataFileLoader.h"
#include "core/DisplayEffects.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using LoadersWithoutPathSettings = TProgram_Folder_Test;

} // namespace

TEST_F(LoadersWithoutPathSettings, FailWithTheirHeadingAndOneLine) {
    struct TCase {
        const char* Heading;
        std::function<bool()> Load;
        std::function<int32_t()> Count;
    } cases[] = {
        {"Display Effect Data File Errors: ", Load_Display_Effects, Display_Effect_Count},
        {"Master Spell Data File Errors: ", Load_Master_Spells, Master_Spell_Count},
        {"Class Portrait Data File Errors: ", Reload_Class_Info, Class_Count},
        {"Class Portrait Data File Errors: ", Load_Class_Info, Class_Count},
    };
    Install_Path_Settings(nullptr);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Heading);
        Messages->Error_Lists.clear();
        bool loaded = true;
        ASSERT_NO_THROW(loaded = c.Load());
        EXPECT_FALSE(loaded);
        EXPECT_EQ(c.Count(), 0);
        ASSERT_EQ(Messages->Error_Lists.size(), 1u);
        EXPECT_EQ(Messages->Error_Lists[0].Heading, c.Heading);
        EXPECT_EQ(Messages->Error_Lists[0].List, (TString_List{Cannot_Load_Line("")}));
    }
    Free_Display_Effects();
    Free_Master_Spells();
    Free_Class_Info();
}
