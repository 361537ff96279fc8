// A data file read from bytes already in memory gives what the same file gives from disk: the same
// records, the Windows-1251 text converted, the same error lines.
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using DataFileFromBytes = TProgram_Folder_Test;

TEST_F(DataFileFromBytes, GivesWhatTheFileGives) {
    const std::string files[] = {
        // "Name := Меч" in Windows-1251, then a second record.
        "T\r\n*BEGIN*\r\n\r\n\r\nName := \xCC\xE5\xF7\r\nType := Weapon\r\n\r\nName := b\r\n*END*\r\n",
        "no header marker\r\nName := x\r\n",
        "",
    };
    for (const std::string& bytes : files) {
        const std::string path = Folder.Write("Data/test.txt", bytes);
        TField_Collector from_file(path), from_bytes(path);
        from_file.Execute_Load();
        from_bytes.Execute_Load_From_Bytes(bytes);
        ASSERT_EQ(from_bytes.Fields.size(), from_file.Fields.size()) << bytes;
        for (size_t i = 0; i < from_file.Fields.size(); ++i) {
            EXPECT_EQ(from_bytes.Fields[i].Name, from_file.Fields[i].Name);
            EXPECT_EQ(from_bytes.Fields[i].Value, from_file.Fields[i].Value);
        }
        EXPECT_EQ(from_bytes.Get_Error_List(), from_file.Get_Error_List()) << bytes;
    }
    TField_Collector loader("Data/test.txt");
    loader.Execute_Load_From_Bytes(files[0]);
    ASSERT_EQ(loader.Fields.size(), 3u);
    EXPECT_EQ(loader.Fields[0].Value, "Меч");
}

} // namespace
