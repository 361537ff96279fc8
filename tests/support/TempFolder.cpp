#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TTemp_Folder::TTemp_Folder() {
    std::string pattern = (fs::temp_directory_path() / "murk_test_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    Path_ = pattern + "/";
}

TTemp_Folder::~TTemp_Folder() {
    std::error_code ec;
    fs::remove_all(Path_, ec);
}

std::string TTemp_Folder::Write(const std::string& relative, const std::string& bytes) const {
    fs::path full = fs::path(Path_) / relative;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + full.string());
    return full.string();
}

std::string TTemp_Folder::Make_Folder(const std::string& relative) const {
    fs::path full = fs::path(Path_) / relative;
    fs::create_directories(full);
    std::string s = full.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

std::string TTemp_Folder::Read(const std::string& relative) const {
    std::ifstream in(fs::path(Path_) / relative, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}
