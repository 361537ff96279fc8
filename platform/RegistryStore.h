// The per-user store of machine options that stands in for the registry: keys are paths of levels
// ("Software/Brannoch/Murkhollow"), each holding named values that keep their kind, text or integer.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace plat {

struct TRegistry_Value {
    enum class Kind { String, Integer };
    Kind Value_Kind = Kind::String;
    std::string Text;
    int32_t Number = 0;
    bool operator==(const TRegistry_Value&) const = default;
};

// Every key and its values, as one snapshot.
struct TRegistry_Contents {
    std::set<std::string> Keys; // every existing level, e.g. "Software", "Software/Brannoch"
    std::map<std::string, std::map<std::string, TRegistry_Value>> Values;
};

// An open key: reads and writes act on a snapshot; Close() stores the writes.
class TRegistry_Key {
public:
    virtual ~TRegistry_Key() = default;
    virtual bool Has_Value(const std::string& name) const = 0;
    // A missing value, or one of the other kind, gives false.
    virtual bool Read_String(const std::string& name, std::string& value) const = 0;
    virtual bool Read_Integer(const std::string& name, int32_t& value) const = 0;
    virtual void Write_String(const std::string& name, const std::string& value) = 0;
    virtual void Write_Integer(const std::string& name, int32_t value) = 0;
    // Stores what was written; false when it could not be stored.
    virtual bool Close() = 0;
};

class TRegistry_Store {
public:
    virtual ~TRegistry_Store() = default;
    // Opens the key one level at a time; with create, missing levels are made. Nothing when a level is
    // missing and create is false, or when the store cannot be read.
    std::unique_ptr<TRegistry_Key> Open_Key(const std::vector<std::string>& levels, bool create);

    virtual bool Load(TRegistry_Contents& contents) = 0;
    virtual bool Save(const TRegistry_Contents& contents) = 0;
};

// Headless: everything in memory; tests fill and inspect it.
class TMemory_Registry_Store : public TRegistry_Store {
public:
    bool Load(TRegistry_Contents& contents) override;
    bool Save(const TRegistry_Contents& contents) override;
    TRegistry_Contents Contents;
    bool Fail_Saves = false;
};

// A text file, one key per section: "[Software/Brannoch/Murkhollow]", then "s Name=text" or
// "i Name=123" lines; "\" escapes "\", newline and "=" in names and texts. Written to a new temporary file
// (mode 0600) in the same folder, flushed to disk, then renamed, so a crash never leaves half a file. A
// missing file is a store without keys; an empty path is a store that is never written.
class TFile_Registry_Store : public TRegistry_Store {
public:
    explicit TFile_Registry_Store(std::string path) : Path_(std::move(path)) {}
    bool Load(TRegistry_Contents& contents) override;
    bool Save(const TRegistry_Contents& contents) override;
    const std::string& Path() const { return Path_; }

private:
    std::string Path_;
};

// The user's home folder: $HOME, or the password database's entry when HOME is not set; empty when
// neither names an absolute folder.
std::string Home_Folder();
// $XDG_CONFIG_HOME/Brannoch/Murkhollow/options, or <home>/.config/... when that variable is not set; empty
// when there is no home folder.
std::string Default_Registry_File();

// The store the program uses; a file store on Default_Registry_File() unless one was installed.
TRegistry_Store& Registry_Store();
void Install_Registry_Store(std::unique_ptr<TRegistry_Store> store);

} // namespace plat
