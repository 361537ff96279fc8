#include "platform/RegistryStore.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace plat {

namespace {

class TSnapshot_Key : public TRegistry_Key {
public:
    TSnapshot_Key(TRegistry_Store& store, TRegistry_Contents contents, std::string key, bool dirty)
        : Store_(store), Contents_(std::move(contents)), Key_(std::move(key)), Dirty_(dirty) {}

    bool Has_Value(const std::string& name) const override { return Find(name) != nullptr; }

    bool Read_String(const std::string& name, std::string& value) const override {
        const TRegistry_Value* v = Find(name);
        if (!v || v->Value_Kind != TRegistry_Value::Kind::String) return false;
        value = v->Text;
        return true;
    }

    bool Read_Integer(const std::string& name, int32_t& value) const override {
        const TRegistry_Value* v = Find(name);
        if (!v || v->Value_Kind != TRegistry_Value::Kind::Integer) return false;
        value = v->Number;
        return true;
    }

    void Write_String(const std::string& name, const std::string& value) override {
        TRegistry_Value v;
        v.Value_Kind = TRegistry_Value::Kind::String;
        v.Text = value;
        Contents_.Values[Key_][name] = v;
        Dirty_ = true;
    }

    void Write_Integer(const std::string& name, int32_t value) override {
        TRegistry_Value v;
        v.Value_Kind = TRegistry_Value::Kind::Integer;
        v.Number = value;
        Contents_.Values[Key_][name] = v;
        Dirty_ = true;
    }

    bool Close() override {
        if (!Dirty_) return true;
        Dirty_ = false;
        // Writes land on what the store holds now, so two programs sharing the store lose only values
        // both wrote.
        TRegistry_Contents fresh;
        if (!Store_.Load(fresh)) return false;
        for (const std::string& k : Contents_.Keys) fresh.Keys.insert(k);
        auto mine = Contents_.Values.find(Key_);
        if (mine != Contents_.Values.end())
            for (const auto& [name, value] : mine->second) fresh.Values[Key_][name] = value;
        return Store_.Save(fresh);
    }

private:
    const TRegistry_Value* Find(const std::string& name) const {
        auto key = Contents_.Values.find(Key_);
        if (key == Contents_.Values.end()) return nullptr;
        auto v = key->second.find(name);
        return v == key->second.end() ? nullptr : &v->second;
    }

    TRegistry_Store& Store_;
    TRegistry_Contents Contents_;
    std::string Key_;
    bool Dirty_;
};

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '=')
            out += "\\e";
        else if (c == ']')
            out += "\\b";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 'e' ? '=' : c == 'b' ? ']' : c;
    }
    return out;
}

// The position of the first unescaped "=".
size_t Find_Separator(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
            continue;
        }
        if (line[i] == '=') return i;
    }
    return std::string::npos;
}

bool Make_Folders(const std::string& folder) {
    std::string path;
    for (size_t i = 0; i < folder.size(); ++i) {
        path += folder[i];
        if ((folder[i] == '/' && i > 0) || i + 1 == folder.size()) {
            if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return true;
}

std::unique_ptr<TRegistry_Store> Installed_Store;

} // namespace

std::unique_ptr<TRegistry_Key> TRegistry_Store::Open_Key(const std::vector<std::string>& levels,
                                                         bool create) {
    TRegistry_Contents contents;
    if (!Load(contents)) return nullptr;
    std::string key;
    bool made = false;
    for (const std::string& level : levels) {
        if (level.empty() || level.find('/') != std::string::npos) return nullptr;
        key = key.empty() ? level : key + "/" + level;
        if (!contents.Keys.count(key)) {
            if (!create) return nullptr;
            contents.Keys.insert(key);
            made = true;
        }
    }
    return std::make_unique<TSnapshot_Key>(*this, std::move(contents), key, made);
}

bool TMemory_Registry_Store::Load(TRegistry_Contents& contents) {
    contents = Contents;
    return true;
}

bool TMemory_Registry_Store::Save(const TRegistry_Contents& contents) {
    if (Fail_Saves) return false;
    Contents = contents;
    return true;
}

bool TFile_Registry_Store::Load(TRegistry_Contents& contents) {
    contents = {};
    // No file (no home folder was found): an empty store that can not be written.
    if (Path_.empty()) return true;
    std::ifstream in(Path_, std::ios::binary);
    if (!in) {
        struct stat st;
        // A missing file is an empty store; any other failure is a failure.
        return ::stat(Path_.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
    }
    std::string line, key;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[' && line.back() == ']') {
            key = Unescape(line.substr(1, line.size() - 2));
            // Every level of the key exists.
            for (size_t cut = key.find('/'); cut != std::string::npos; cut = key.find('/', cut + 1))
                contents.Keys.insert(key.substr(0, cut));
            contents.Keys.insert(key);
            continue;
        }
        if (key.empty() || line.size() < 3 || line[1] != ' ') continue;
        const size_t eq = Find_Separator(line);
        if (eq == std::string::npos) continue;
        const std::string name = Unescape(line.substr(2, eq - 2));
        const std::string text = Unescape(line.substr(eq + 1));
        TRegistry_Value v;
        if (line[0] == 'i') {
            char* end = nullptr;
            errno = 0;
            long long n = std::strtoll(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || errno != 0 || n < INT32_MIN || n > INT32_MAX) continue;
            v.Value_Kind = TRegistry_Value::Kind::Integer;
            v.Number = static_cast<int32_t>(n);
        } else if (line[0] == 's') {
            v.Value_Kind = TRegistry_Value::Kind::String;
            v.Text = text;
        } else {
            continue;
        }
        contents.Values[key][name] = v;
    }
    return !in.bad();
}

bool TFile_Registry_Store::Save(const TRegistry_Contents& contents) {
    if (Path_.empty()) return false;
    const size_t cut = Path_.find_last_of('/');
    if (cut != std::string::npos && !Make_Folders(Path_.substr(0, cut))) return false;
    std::ostringstream text;
    text << "# Murkhollow machine options\n";
    for (const std::string& key : contents.Keys) {
        text << '[' << Escape(key) << "]\n";
        auto values = contents.Values.find(key);
        if (values == contents.Values.end()) continue;
        for (const auto& [name, v] : values->second) {
            if (v.Value_Kind == TRegistry_Value::Kind::Integer)
                text << "i " << Escape(name) << '=' << v.Number << '\n';
            else
                text << "s " << Escape(name) << '=' << Escape(v.Text) << '\n';
        }
    }
    // The new contents go to a file of our own in the same folder (so the rename stays on one file system),
    // made with a unique name and mode 0600: a fixed name could be a link planted to redirect the write.
    // The data reaches the disk before the rename replaces the old file, so a crash leaves one or the other.
    std::string temp = Path_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    const std::string bytes = text.str();
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || std::rename(temp.c_str(), Path_.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

std::string Home_Folder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    // Without HOME (a service, a cron job) the password database names the user's home folder. There is
    // no fallback to a shared folder such as /tmp, where anyone could plant or read the options.
    const size_t size = [] {
        const long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        return hint > 0 ? static_cast<size_t>(hint) : size_t{16384};
    }();
    std::vector<char> buffer(size);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return "";
    if (!found->pw_dir || found->pw_dir[0] != '/') return "";
    return found->pw_dir;
}

std::string Default_Registry_File() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        config = xdg;
    } else {
        const std::string home = Home_Folder();
        if (home.empty()) return "";
        config = home + "/.config";
    }
    return config + "/Brannoch/Murkhollow/options";
}

TRegistry_Store& Registry_Store() {
    if (!Installed_Store) Installed_Store = std::make_unique<TFile_Registry_Store>(Default_Registry_File());
    return *Installed_Store;
}

void Install_Registry_Store(std::unique_ptr<TRegistry_Store> store) {
    Installed_Store = std::move(store);
}

} // namespace plat
