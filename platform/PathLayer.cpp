#include "platform/PathLayer.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Same_Ignoring_Case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The file-type bits of a path, or 0 when it cannot be examined.
mode_t Mode_Of(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

std::vector<std::string> Split_Components(const std::string& path) {
    std::vector<std::string> parts;
    std::string piece;
    for (char c : path) {
        if (c == '/') {
            if (!piece.empty()) parts.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) parts.push_back(piece);
    return parts;
}

// The entry of folder whose name equals name ignoring case; an exact match wins over others. Among several
// that differ only in case the smallest by byte order is taken, so the choice does not depend on the order
// the folder lists its entries in.
std::optional<std::string> Match_Entry(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> found;
    while (dirent* e = ::readdir(dir)) {
        std::string entry = e->d_name;
        if (entry == name) {
            found = entry;
            break;
        }
        if (Same_Ignoring_Case(entry, name) && (!found || entry < *found)) found = entry;
    }
    ::closedir(dir);
    return found;
}

} // namespace

std::string Slashes_From_Data(const std::string& name) {
    std::string out = name;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string Collapse_Separators(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out += c;
    }
    return out;
}

std::string Join(const std::string& a, const std::string& b) {
    if (a.empty()) return Collapse_Separators(b);
    if (b.empty()) return Collapse_Separators(a);
    return Collapse_Separators(a + "/" + b);
}

std::optional<std::string> Find_Existing(const std::string& path) {
    if (path.empty()) return std::nullopt;
    if (Exists(path)) return path;
    const bool absolute = path[0] == '/';
    const bool trailing = path.back() == '/';
    std::vector<std::string> parts = Split_Components(path);
    std::string current = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string candidate =
            current.empty() ? part : (current.back() == '/' ? current + part : current + "/" + part);
        if (part == "." || part == ".." || Exists(candidate)) {
            current = candidate;
            continue;
        }
        std::optional<std::string> entry = Match_Entry(current, part);
        if (!entry) return std::nullopt;
        current =
            current.empty() ? *entry : (current.back() == '/' ? current + *entry : current + "/" + *entry);
    }
    if (trailing && (current.empty() || current.back() != '/')) current += '/';
    return current;
}

std::string Resolve_Path(const std::string& path) {
    std::optional<std::string> found = Find_Existing(path);
    return found ? *found : path;
}

std::optional<std::string> Find_Regular_File(const std::string& path) {
    std::optional<std::string> found = Find_Existing(path);
    if (!found || !S_ISREG(Mode_Of(*found))) return std::nullopt;
    return found;
}

bool Is_Regular_File(const std::string& path) {
    return Find_Regular_File(path).has_value();
}

bool Is_Directory(const std::string& path) {
    std::optional<std::string> found = Find_Existing(path);
    return found && S_ISDIR(Mode_Of(*found));
}

bool Is_Contained_Name(const std::string& name) {
    std::string n = Slashes_From_Data(name);
    if (n.empty() || n[0] == '/') return false;
    // A drive letter ("C:") would be absolute on the platform the names come from.
    if (n.size() >= 2 && n[1] == ':') return false;
    for (const std::string& part : Split_Components(n))
        if (part == "..") return false;
    return true;
}

std::string Base_Name(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Executable_Path() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

std::string Executable_Folder() {
    std::string exe = Executable_Path();
    size_t cut = exe.find_last_of('/');
    if (cut == std::string::npos) return "./";
    return exe.substr(0, cut + 1);
}

bool Read_File(const std::string& path, std::string& contents) {
    std::optional<std::string> found = Find_Regular_File(path);
    if (!found) return false;
    // One read into a buffer of the file's size: data files of megabytes are read on every load.
    const int fd = ::open(found->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    std::string data;
    // One byte more than the size, so the read that finds the end needs no larger buffer.
    data.resize(::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 4096);
    size_t used = 0;
    for (;;) {
        // A file that grew since fstat is read to its end all the same.
        if (used == data.size()) data.resize(data.size() * 2);
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(used);
    contents = std::move(data);
    return true;
}

std::vector<std::string> List_Folder(const std::string& path) {
    std::vector<std::string> names;
    std::optional<std::string> found = Find_Existing(path);
    if (!found) return names;
    DIR* dir = ::opendir(found->c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
        std::string entry = e->d_name;
        if (entry != "." && entry != "..") names.push_back(entry);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace plat
