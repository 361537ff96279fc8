#include "core/DebugLog.h"

#include "core/Clock.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/Profile.h"
#include "platform/PathLayer.h"

#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

const TGame_Settings* Log_Settings = nullptr;
TLog_Observer Log_Observer;
std::mutex Log_Lock;

bool Is_Logged_Unit(const std::string& unit) {
    return unit == "General" || unit == "DlgMain" || unit == "Struct" || unit == "GameSettings";
}

std::string Time_Stamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof(text), "%y.%m.%d %H.%M.%S", &local);
    return text;
}

} // namespace

void Set_Log_Settings(const TGame_Settings* settings) {
    Log_Settings = settings;
}

std::string Log_File_Path() {
    return Base_Folder() + "log/MK_Log.txt";
}

void Set_Log_Observer(TLog_Observer observer) {
    Log_Observer = std::move(observer);
}

void Log(const std::string& unit_name, const std::string& message) {
    if (Log_Observer) Log_Observer(unit_name, message);
    // The designers' tool keeps no log.
    if (Is_Tool_Profile()) return;
    if (Log_Settings && !Log_Settings->Generate_Debug_Log) return;
    if (!Is_Logged_Unit(unit_name)) return;
    // Before start-up has set the program folder there is no log to write to (not the working folder's).
    if (Base_Folder().empty()) return;
    const std::string line = Time_Stamp() + " " + std::to_string(Get_Ticks()) + " " + message + "\r\n";
    std::lock_guard<std::mutex> guard(Log_Lock);
    // Appending never truncates an existing log; when the "log" folder is missing the line is dropped (the
    // game does not create the folder).
    const int fd = ::open(Log_File_Path().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const char* p = line.data();
    size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0) break;
        p += n;
        left -= static_cast<size_t>(n);
    }
    ::close(fd);
}

void Log_New_Execution() {
    Log("General", "***************** " + plat::Executable_Path() + " - New Execution *****************");
}
