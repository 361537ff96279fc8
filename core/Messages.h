// How the world model tells the player something went wrong: a message (caption, text) or a data file's
// error list (list, heading, file name). The screen implements this; until a window exists, and in
// programs without one, the default writes to standard error. Tests install the recorder.
#pragma once

#include "core/SaveStream.h"

#include <memory>
#include <string>
#include <vector>

class TMessage_Sink {
public:
    virtual ~TMessage_Sink() = default;
    virtual void Show_Message(const std::string& caption, const std::string& text) = 0;
    virtual void Show_Error_List(const TString_List& list, const std::string& heading,
                                 const std::string& file_name) = 0;
};

// Writes each message to standard error.
class TStderr_Message_Sink : public TMessage_Sink {
public:
    void Show_Message(const std::string& caption, const std::string& text) override;
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override;
};

// Records every call, for tests and for anything that wants to show the messages later.
class TRecording_Message_Sink : public TMessage_Sink {
public:
    struct TMessage {
        std::string Caption;
        std::string Text;
    };
    struct TError_List {
        TString_List List;
        std::string Heading;
        std::string File_Name;
    };
    void Show_Message(const std::string& caption, const std::string& text) override {
        Messages.push_back({caption, text});
    }
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override {
        Error_Lists.push_back({list, heading, file_name});
    }
    std::vector<TMessage> Messages;
    std::vector<TError_List> Error_Lists;
};

// The sink in use (standard error unless one was installed).
TMessage_Sink& Message_Sink();
void Install_Message_Sink(std::shared_ptr<TMessage_Sink> sink);

inline void Show_Message(const std::string& caption, const std::string& text) {
    Message_Sink().Show_Message(caption, text);
}
inline void Show_Data_File_Errors(const TString_List& list, const std::string& heading,
                                  const std::string& file_name) {
    Message_Sink().Show_Error_List(list, heading, file_name);
}
