#include "platform/FileOps.h"

#include "platform/PathLayer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

std::optional<TWrite_Fault> Fault;

// How many names a write tries before it gives up: another process (or a crash) may hold a few.
constexpr int Temporary_Attempts = 100;

std::string Error_Text(const std::string& step, const std::string& path) {
    return step + " \"" + path + "\": " + std::strerror(errno);
}

bool Faulted(const std::string& target, TWrite_Step step) {
    return Fault && Fault->Step == step && target.find(Fault->Path_Part) != std::string::npos;
}

std::string Folder_Of(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

// The path to replace: an existing entry whose name differs only in letter case, else the name in the
// existing folder that matches ignoring case.
std::string Target_Path(const std::string& path) {
    if (std::optional<std::string> found = Find_Existing(path)) return *found;
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos || cut == 0) return path;
    if (std::optional<std::string> folder = Find_Existing(path.substr(0, cut)))
        return Join(*folder, path.substr(cut + 1));
    return path;
}

// Writes everything, going on after interruptions and short writes.
bool Write_All(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Opens a new temporary file next to the target; -1 when none can be made.
int Open_Temporary(const std::string& target, std::string& temporary) {
    for (int attempt = 0; attempt < Temporary_Attempts; ++attempt) {
        temporary = Temporary_Name(target, attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

std::string Temporary_Name(const std::string& target, int attempt) {
    const size_t cut = target.find_last_of('/');
    const std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
    return folder + "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
}

void Set_Write_Fault(std::optional<TWrite_Fault> fault) {
    Fault = std::move(fault);
}

bool Write_File_Atomically(const std::string& path, const void* data, size_t size, std::string& error) {
    const std::string target = Target_Path(Collapse_Separators(path));
    std::string temporary;
    const int fd = Open_Temporary(target, temporary);
    if (fd < 0) {
        error = Error_Text("cannot create a temporary file for", target);
        return false;
    }
    // From here on a failure removes the temporary file; the target has not been touched.
    auto fail = [&](const std::string& step, int saved_errno, bool still_open) {
        if (still_open) ::close(fd);
        errno = saved_errno;
        error = Error_Text(step, target);
        ::unlink(temporary.c_str());
        return false;
    };
    const char* bytes = static_cast<const char*>(data);
    if (Faulted(target, TWrite_Step::Write)) {
        const size_t allowed = std::min(Fault->At_Byte, size);
        Write_All(fd, bytes, allowed);
        return fail("cannot write", ENOSPC, true);
    }
    if (!Write_All(fd, bytes, size)) return fail("cannot write", errno, true);
    if (Faulted(target, TWrite_Step::Sync)) return fail("cannot flush", EIO, true);
    if (::fsync(fd) != 0) return fail("cannot flush", errno, true);
    // Some file systems report a failed write only when the file is closed.
    if (Faulted(target, TWrite_Step::Close)) {
        ::close(fd);
        return fail("cannot close", EIO, false);
    }
    if (::close(fd) != 0) return fail("cannot close", errno, false);
    if (Faulted(target, TWrite_Step::Rename)) return fail("cannot replace", EACCES, false);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail("cannot replace", errno, false);
    return Sync_Folder(Folder_Of(target), error);
}

std::vector<std::string> List_Regular_Files(const std::string& folder) {
    std::vector<std::string> names;
    const std::optional<std::string> found = Find_Existing(folder);
    if (!found) return names;
    DIR* dir = ::opendir(found->c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (entry == "." || entry == "..") continue;
        struct stat st;
        if (::lstat(Join(*found, entry).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(entry);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool Read_Regular_File(const std::string& path, std::string& contents) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    contents = std::move(data);
    return true;
}

bool Make_Folders(const std::string& path, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (Is_Real_Folder(path)) return true;
    error = "cannot create folder \"" + path + "\": " + (code ? code.message() : "not a folder");
    return false;
}

bool Rename_Path(const std::string& from, const std::string& to, std::string& error) {
    if (Faulted(from, TWrite_Step::Rename_Folder))
        errno = EACCES;
    else if (::rename(from.c_str(), to.c_str()) == 0)
        return true;
    error = Error_Text("cannot rename \"" + from + "\" to", to);
    return false;
}

bool Remove_Tree(const std::string& path) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    std::error_code code;
    std::filesystem::remove_all(name, code);
    struct stat st;
    return ::lstat(name.c_str(), &st) != 0;
}

bool Sync_Folder(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = Error_Text("cannot open folder", path);
        return false;
    }
    // A file system that cannot flush folders says so with EINVAL; its entries are as safe as it makes them.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    if (!ok) error = Error_Text("cannot flush folder", path);
    ::close(fd);
    return ok;
}

bool Is_Real_Folder(const std::string& path) {
    // A trailing separator would make lstat follow a link to a folder.
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    struct stat st;
    return ::lstat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace plat
