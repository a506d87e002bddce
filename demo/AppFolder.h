#pragma once
// The files of the demo application folder besides the galleries and pictures: the settings
// file ORVBook.ini, the gallery order file ORVBook.odr, two add-ins (DemoTools.add starts the
// tool program, DemoMenu.add shows the tool menu ORVMTools\DemoTools.mnu) listed in
// orvBookAddin.lst, the home page HomePage\Index.htm, and the demo tool program under the
// names the reader starts: ORVMTools\DemoTool.exe (add-ins, tool nodes, actions), CadRelay.Exe
// (drawing insertion) and DemoDriver.exe in ORVMTools\Support and ORVMTools\SupportProE (the
// dimension drivers of driver types 4 and 2). Text files are GB18030, as the reader reads them.

#include <string>
#include <vector>

namespace orv::demo {

struct AppFolderSettings {
    std::string Version;
    std::vector<std::string> GalleryNames; // display names, in the order of ORVBook.odr
    std::string HomePageSource; // native path of the home page template (UTF-8)
    std::string ToolProgram; // native path of the built demo tool
    int MechDrawings = 0, MechDirectories = 0, ElecDrawings = 0;
};

// Writes into appFolder (native path). False with the reason.
bool WriteAppFolderFiles(const std::string& appFolder, const AppFolderSettings& settings, std::string& error);

} // namespace orv::demo
