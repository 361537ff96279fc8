// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

class TTemp_Folder {
public:
    TTemp_Folder();
    ~TTemp_Folder();
    TTemp_Folder(const TTemp_Folder&) = delete;
    TTemp_Folder& operator=(const TTemp_Folder&) = delete;

    // The folder, with a trailing "/".
    const std::string& Path() const { return Path_; }
    // Path() + relative.
    std::string File(const std::string& relative) const { return Path_ + relative; }
    // Writes bytes to a file below the folder, creating the folders on the way; returns its full path.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    // Creates a folder (and its parents) below the folder; returns its full path with a trailing "/".
    std::string Make_Folder(const std::string& relative) const;
    std::string Read(const std::string& relative) const;

private:
    std::string Path_;
};
