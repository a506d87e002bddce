#pragma once
// Where the application folder is, and the user's own folder made on its first start.
//
// The folder is, first found first: the "--app-dir" option; $ORVBOOK_HOME; the current folder
// when it holds ORVBook.ini or ORVBookLib (in any letter case, as galleries write names); the
// user's folder $XDG_DATA_HOME/orvbook (~/.local/share/orvbook). A folder named by the option
// or the variable must exist; the user's folder is made when missing.
//
// The installed shared data (<prefix>/share/orvbook, found from the program's own place,
// <prefix>/bin) holds:
//   HomePage/      the home page, copied into a new user folder
//   Support/       the support pictures (splash, logo, toolbar background), copied likewise
//   demo/          the demo application folder; its ORVBookLib holds the demo galleries
// A user folder without ORVBook.ini is on its first start: it gets a default ORVBook.ini, an
// empty ORVBookLib and the home page and support pictures. Nothing already there is replaced:
// a file is "there" when its name exists in any letter case.

#include <optional>
#include <string>

namespace orv {

enum class AppFolderSource { Option, Environment, CurrentFolder, UserFolder };

// What the choice depends on, as plain values, so that a caller (or a test) can give each.
struct AppFolderInputs {
    std::string Option; // "--app-dir", native; "" when not given
    std::string Environment; // $ORVBOOK_HOME
    std::string CurrentFolder; // native, absolute
    std::string DataHome; // $XDG_DATA_HOME; a relative value is ignored, as the XDG rules say
    std::string Home; // the user's home folder
};

// The inputs of this process: the option as given, its environment and current folder.
AppFolderInputs AppFolderInputsOfProcess(const std::string& option);

struct AppFolderChoice {
    std::string Path; // program path, no trailing "\"
    AppFolderSource Source = AppFolderSource::Option;
    bool FirstStart = false; // the user's folder holds no ORVBook.ini yet
};

// The rule above; looks at the file system but changes nothing. Nothing, with the reason in
// error, when a named folder is not a folder or there is no home for the user's folder.
std::optional<AppFolderChoice> ChooseAppFolder(const AppFolderInputs& inputs, std::string& error);

// The installed shared data beside a program: <folder of the program>/../share/orvbook as a
// program path when that is a folder, else "".
std::string InstalledDataFolder(const std::string& programNative);
// The same for the running program.
std::string InstalledDataFolder();

// The first start's defaults into appPath (made when missing): ORVBook.ini, ORVBookLib, and
// HomePage and Support from dataFolder ("" when nothing is installed: the pictures are then
// left out). Existing files stay as they are. False with the reason when something could not
// be written.
bool MakeUserFolder(const std::string& appPath, const std::string& dataFolder, std::string& error);

// Whether dataFolder holds demo galleries ("*.GAL" in demo/ORVBookLib).
bool HasDemoGalleries(const std::string& dataFolder);

// Copies the demo galleries into libPath, and the demo's gallery order into appPath when it
// has none, so the galleries are listed in the demo's order. Existing files stay as they
// are. False with the reason when something could not be copied.
bool CopyDemoGalleries(const std::string& dataFolder, const std::string& appPath, const std::string& libPath,
    std::string& error);

} // namespace orv
