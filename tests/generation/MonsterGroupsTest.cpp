// Monster groups: the loader's members and reports, and the group filter.
#include "generation/RndClassMonsterGroups.h"

#include "tests/support/CoreTestSupport.h"

#include <string>
#include <vector>

namespace {

struct TMember {
    std::string Class_Name, Is_Leader, Plus;
    std::vector<std::string> Modifiers;
};

TKeys Group(const std::string& name, const std::vector<TMember>& members, const std::string& count = "") {
    TKeys keys = {{"Group Name", name},
                  {"Follow Distance", "4"},
                  {"Monster Group", "Barrow Undead"},
                  {"Leader Name Prefix", "Elder"},
                  {"Leader Name Suffix", "the Pale"},
                  {"Number In Group", count.empty() ? std::to_string(members.size()) : count}};
    for (size_t i = 0; i < members.size(); ++i) {
        const std::string p = "Group Monster " + std::to_string(i + 1) + " ";
        const TMember& m = members[i];
        keys.insert(keys.end(), {{p + "Class Name", m.Class_Name},
                                 {p + "Is Leader", m.Is_Leader},
                                 {p + "Monster Level Min Plus", m.Plus},
                                 {p + "Number of Modifiers", std::to_string(m.Modifiers.size())}});
        for (size_t j = 0; j < m.Modifiers.size(); ++j)
            keys.emplace_back(p + "Modifier " + std::to_string(j + 1) + " Type", m.Modifiers[j]);
    }
    return keys;
}

class MonsterGroups : public TProgram_Folder_Test {
protected:
    void TearDown() override {
        Free_Monster_Groups();
        TProgram_Folder_Test::TearDown();
    }
};

TEST_F(MonsterGroups, MembersAreReadInOrderAndMissingKeysReported) {
    const TMember leader{"Wight", "TRUE", "2", {"[random]", "Fierce"}};
    const TMember follower{"Skeleton", "no", "0", {}};
    // Promises a second member and a second modifier of the first.
    TKeys short_group = With(Group("Short", {leader}, "2"), {{"Group Monster 1 Modifier 2 Type", "<drop>"}});
    TKeys huge = Group("Huge", {}, "999");
    const std::string file = Folder.Write(
        "Tiles/Groups.txt", Data_File_Text({Group("Court", {leader, follower}),
                                            With(Group("Empty", {}), {{"Group Monster 1 Class Name", "Rat"}}),
                                            short_group, huge}));
    ASSERT_FALSE(Load_Monster_Groups(file));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Monster Groups Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, file);
    EXPECT_EQ(Messages->Error_Lists[0].List,
              TString_List({Missing_Field_Line("Group Monster 1 Modifier 2 Type", "Short", 3),
                            Missing_Field_Line("Group Monster 2 Class Name", "Short", 3),
                            Missing_Field_Line("Group Monster 2 Is Leader", "Short", 3),
                            Missing_Field_Line("Group Monster 2 Monster Level Min Plus", "Short", 3),
                            Missing_Field_Line("Group Monster 2 Number of Modifiers", "Short", 3),
                            Invalid_Value_Line("999", "Number In Group", "Huge", 4)}));

    ASSERT_EQ(Monster_Group_Count(), 4);
    const TModule_Monster_Group& court = *Get_Monster_Group(1);
    EXPECT_EQ((std::vector<std::string>{court.Name, court.Monster_Group, court.Leader_Name_Prefix,
                                        court.Leader_Name_Suffix}),
              (std::vector<std::string>{"Court", "Barrow Undead", "Elder", "the Pale"}));
    EXPECT_EQ(court.Follow_Distance, 4);
    ASSERT_EQ(court.Members.size(), 2u);
    EXPECT_EQ(court.Number_In_Group, 2);
    const TModule_Monster_Group_Monster& first = court.Members[0];
    EXPECT_EQ(first.Class_Name, "Wight");
    EXPECT_TRUE(first.Is_Leader);
    EXPECT_EQ(first.Monster_Level_Min_Plus, 2);
    EXPECT_EQ(first.Modifier_Names, TString_List({"[random]", "Fierce"}));
    EXPECT_EQ(court.Members[1].Class_Name, "Skeleton");
    EXPECT_FALSE(court.Members[1].Is_Leader);
    EXPECT_TRUE(court.Members[1].Modifier_Names.empty());
    EXPECT_TRUE(Get_Monster_Group(2)->Members.empty()); // "Number In Group" 0 reads no member keys
    EXPECT_EQ(Get_Monster_Group(3)->Members.size(), 2u);
    EXPECT_EQ(Get_Monster_Group(3)->Members[0].Modifier_Names, TString_List({"[random]"}));
    EXPECT_TRUE(Get_Monster_Group(4)->Members.empty());
    EXPECT_EQ(Get_Monster_Group(0), nullptr);
    EXPECT_EQ(Get_Monster_Group(5), nullptr);

    Messages->Error_Lists.clear();
    EXPECT_TRUE(Load_Monster_Groups(Folder.Write("Tiles/None.txt", Data_File_Text({}))));
    EXPECT_EQ(Monster_Group_Count(), 0);
}

TEST_F(MonsterGroups, FilterMatchesEitherWay) {
    struct TCase {
        std::string Group, Filter;
        bool Matches;
    };
    for (const TCase& c : {TCase{"", "", true}, TCase{"", "barrow", true}, TCase{"ANY", "village", true},
                           TCase{"Barrow Undead", "All", true}, TCase{"Barrow Undead", "none", true},
                           TCase{"Barrow Undead", "undead", true}, TCase{"undead", "Barrow Undead", true},
                           TCase{"Barrow Undead", "", false}, TCase{"Barrow Undead", "Village", false}}) {
        TModule_Monster_Group group;
        group.Monster_Group = c.Group;
        EXPECT_EQ(group.Group_Matches(c.Filter), c.Matches) << c.Group << " / " << c.Filter;
    }
}

} // namespace
