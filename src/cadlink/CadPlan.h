#pragma once
// What one action towards the CAD side or an add-on will do, decided before anything is done:
// the hand-off file's keys, the program to start, the library calls in the order they are
// tried, and the result when the action already failed while being planned. The planner
// (CadPlanner.h) makes plans; the executor (CadExecutor.h) carries them out; orvtool prints
// them. Texts are UTF-8 here and GB18030 where they are handed over, paths of the CAD side
// native absolute paths.

#include <string>
#include <utility>
#include <vector>

namespace orv {

// One program start without a shell.
struct CadSpawn {
    std::string Program; // the checked file, native absolute
    std::string Shown; // the path as composed, for the not-found message
    std::string WorkFolder; // native
    std::vector<std::string> Arguments; // UTF-8
    bool Gb18030 = true; // the CAD side reads GB18030; add-on programs get the text as it is
};

// One call of a library export.
struct CadLibraryCall {
    enum class Form {
        Relay, // int ExeCommand(const char* arxPath, const char* commandText)
        Int, // int f(int)
        IntText, // int f(int, const char*)
    };
    std::string Library; // the checked file, native absolute; "" when missing or refused
    std::string Shown; // its name for messages ("CadRelay16.Dll") or the path as composed
    std::string Function;
    Form Shape = Form::Relay;
    std::string ArxPath, CommandText; // Relay
    int IntArgument = 0; // Int, IntText
    std::string TextArgument; // IntText
};

struct CadPlan {
    enum class Kind {
        Insertion, // 1 when a program started, else 0
        SendCommand, // 0 when a relay succeeded, else its code or -1
        LayerSettings, // as SendCommand, generations 21, 16, 15
        AddOn, // 0 when started or called, else -1
    };
    Kind What = Kind::Insertion;
    std::string Caption; // the title for Message

    // Decided while planning: nothing is done, the result is Result with Message.
    bool Failed = false;
    int Result = 0;
    std::string Message;

    std::string HandoffPath; // program path; "" when no hand-off file is written
    std::string HandoffSection;
    std::vector<std::pair<std::string, std::string>> HandoffKeys; // in the order written

    std::vector<CadSpawn> Spawns; // at most one
    std::vector<CadLibraryCall> Calls; // relay generations in order, or one add-on call
    bool MinimiseOnStart = false; // the reader's window steps aside for a started program
};

// What the executor did.
struct CadOutcome {
    int Result = 0;
    std::string Message; // "" or the text to show under the plan's caption
    bool Started = false; // a program was started
};

} // namespace orv
