#include "cadlink/CadPlanner.h"

#include "app/AddOnCall.h"
#include "app/ReaderState.h"
#include "app/RunFunction.h"
#include "app/common/PathHelpers.h"
#include "cadlink/CadText.h"
#include "database/AdoRecordset.h"
#include "platform/Paths.h"
#include "platform/Processes.h"

#include <unistd.h>

#include <initializer_list>

namespace orv {
namespace {

constexpr const char* kControlMessage = "图件数据含有控制字符，未插入！";
constexpr const char* kCommandControlMessage = "命令含有控制字符，未执行！";

CadPlan Failure(CadPlan plan, int result, std::string message)
{
    plan.Failed = true;
    plan.Result = result;
    plan.Message = std::move(message);
    plan.HandoffPath.clear();
    plan.HandoffKeys.clear();
    plan.Spawns.clear();
    plan.Calls.clear();
    return plan;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return !prefix.empty() && text.size() >= prefix.size()
        && platform::EqualsNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

// A program or library the reader may start or load: named plainly below the application
// folder and, resolved, inside it and outside the gallery and temporary folders.
std::optional<std::string> CheckedFile(const ReaderState& state, const std::string& programPath)
{
    if (!PlainAppPath(state, programPath))
        return std::nullopt;
    return RunnableFile(state, programPath);
}

// A program as CheckedFile, and one that may be executed: a file that cannot start fails the
// plan before the hand-off file is touched.
std::optional<std::string> CheckedProgram(const ReaderState& state, const std::string& programPath)
{
    auto checked = CheckedFile(state, programPath);
    if (checked && ::access(checked->c_str(), X_OK) != 0)
        return std::nullopt;
    return checked;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && platform::EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

// The open gallery's file as the user chose it (not the cache copy the database may be).
std::string GalleryFile(const ReaderState& state)
{
    if (state.CurrentGallery < 0
        || static_cast<std::size_t>(state.CurrentGallery) >= state.GalleryFiles.size())
        return std::string();
    return state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)];
}

struct DrawingRecord {
    std::string Caption, Status, FileName, Folder;
    int DriverType = 0;
};

// 0 with the record, else the failure text.
std::string ReadDrawing(const ReaderState& state, std::int32_t drawingId, DrawingRecord& record)
{
    const std::string id = std::to_string(drawingId);
    CAdoRecordset rs;
    std::string relative;
    bool joined = false;
    if (rs.OpenSql(
            "Select DrawingCaption,Status1,DrawingFileName,DrawingBlock,DriverType,IsCompressed,DrawingPath "
            "from DrawingList where DrawingID = "
                + id,
            state.Database)
        != 0) {
        joined = true;
        if (rs.OpenSql("SELECT DrawingList.DrawingCaption,DrawingList.Status1,DrawingList.DrawingFileName,"
                       "DrawingList.DrawingBlock,DrawingList.DriverType,DrawingList.IsCompressed,"
                       "SpecClass.SpecPath , DrawingDir.DirPath FROM DrawingList, DrawingDir, SpecClass "
                       "WHERE DrawingList.DirID = DrawingDir.DirID AND DrawingDir.SpecID = SpecClass.SpecID "
                       "AND DrawingList.SpecID = SpecClass.SpecID And DrawingList.DrawingID = "
                    + id,
                state.Database)
            != 0)
            return "数据表打开错误！";
    }
    if (rs.IsEOF())
        return "图件不存在！";
    record.Caption = rs.GetString("DrawingCaption");
    record.Status = rs.GetString("Status1");
    record.FileName = rs.GetString("DrawingFileName");
    record.DriverType = rs.GetLong("DriverType");
    relative = joined ? rs.GetString("SpecPath") + rs.GetString("DirPath") : rs.GetString("DrawingPath");
    const std::string gallery = GalleryFile(state);
    record.Folder = gallery.substr(0, gallery.size() >= 4 ? gallery.size() - 4 : 0) + relative;
    return std::string();
}

struct DriverDefinition {
    bool Found = false;
    std::string DefinePath, DriverName, AppName, FunName;
};

DriverDefinition ReadDriver(const ReaderState& state, std::int32_t drawingId, const std::string& folder)
{
    DriverDefinition driver;
    CAdoRecordset rs;
    if (rs.OpenSql(
            "Select * from DimDriverDefine where DrawingID = " + std::to_string(drawingId), state.Database)
            != 0
        || rs.IsEOF())
        return driver;
    driver.Found = true;
    const std::string define = rs.GetString("DefinePath");
    driver.DefinePath = define.empty() ? folder : folder + "\\" + define;
    driver.DriverName = rs.GetString("DimDriverName");
    driver.AppName = rs.GetString("AppName");
    driver.FunName = rs.GetString("FunName");
    return driver;
}

// The native form of a path handed to the CAD side; "" stays "".
std::string Native(const std::string& programPath)
{
    return programPath.empty() ? std::string() : platform::NativePath(programPath);
}

bool AnyControl(std::initializer_list<const std::string*> values)
{
    for (const std::string* value : values)
        if (HasControlCharacter(*value))
            return true;
    return false;
}

CadPlan PlanDriverProgram(
    const ReaderState& state, CadPlan plan, int driverType, const DriverDefinition& driver)
{
    const std::string folder
        = state.AppPath + (driverType == 2 ? "\\ORVMTools\\SupportProE\\" : "\\ORVMTools\\Support\\");
    const std::string program = folder + driver.FunName + ".exe";
    const std::string definePath = Native(driver.DefinePath);
    if (AnyControl({ &definePath, &driver.DriverName, &driver.AppName }))
        return Failure(std::move(plan), 0, kControlMessage);
    const auto checked = CheckedProgram(state, program);
    if (!checked)
        return Failure(std::move(plan), 0, "未找到执行程序" + program);
    CadSpawn spawn;
    spawn.Program = *checked;
    spawn.Shown = program;
    spawn.WorkFolder = platform::NativePath(folder);
    spawn.Arguments.push_back(driverType == 2 ? definePath + ";" + driver.DriverName
                                              : driver.AppName + "#" + definePath + "#" + driver.DriverName);
    plan.Spawns.push_back(std::move(spawn));
    plan.MinimiseOnStart = true;
    return plan;
}

// The member of a compressed drawing package, "a(b).dwz" naming b; any other name as it is.
std::string DrawingName(const std::string& fileName)
{
    if (!EndsWithNoCase(fileName, "DWZ"))
        return fileName;
    const std::size_t open = fileName.find('(');
    const std::size_t close = open == std::string::npos ? open : fileName.find(')', open + 1);
    if (close == std::string::npos)
        return fileName;
    return fileName.substr(open + 1, close - open - 1);
}

std::string Quoted(const std::string& value)
{
    return "\"" + LispString(value) + "\"";
}

CadPlan PlanRelayRoad(
    const ReaderState& state, CadPlan plan, const DrawingRecord& drawing, const DriverDefinition& driver)
{
    const std::string captionText
        = drawing.Status.empty() ? drawing.Caption : drawing.Caption + "(" + drawing.Status + ")";
    std::string name = DrawingName(drawing.FileName);
    const std::string folder = Native(drawing.Folder);
    const std::string galleryName = GetBaseName(GalleryFile(state));
    const std::string driverPath = Native(driver.DefinePath);
    if (AnyControl({ &captionText, &name, &folder, &galleryName, &driverPath, &driver.DriverName,
            &driver.AppName, &driver.FunName }))
        return Failure(std::move(plan), 0, kControlMessage);

    const std::string relay = state.AppPath + "\\CadRelay.Exe";
    const auto checked = CheckedProgram(state, relay);
    if (!checked)
        return Failure(std::move(plan), 0, "未找到执行程序" + relay);

    plan.HandoffPath = HandoffFilePath(state);
    plan.HandoffSection = "ORVBookInsert";
    plan.HandoffKeys = {
        { "DriverPath", driverPath },
        { "DriverName", driver.DriverName },
        { "AppPath", driver.AppName },
        { "FunName", driver.FunName },
        { "DrawingCaption", drawing.Caption },
        { "Status1", drawing.Status },
    };

    // Every driver type but 0 sends the driven form: a type 2, 3 or 4 drawing without its
    // own driver program is still inserted by its caption, one closed call.
    std::string command = "(ORV_BeginInsertOrvBookDrawing ";
    if (drawing.DriverType == 0) {
        command += Quoted("ORV_BeginInsertOrvBookBlkDrawing") + " " + Quoted(galleryName) + " "
            + Quoted(folder) + " " + Quoted(name) + ")";
    } else {
        if (EndsWithNoCase(name, ".DWG"))
            name.resize(name.size() - 4);
        command += Quoted("ORV_BeginInsertOrvBookDrvDrawing") + " " + Quoted(captionText) + " "
            + Quoted(folder) + " " + Quoted(name) + ")";
    }
    command += "\n";

    CadSpawn spawn;
    spawn.Program = *checked;
    spawn.Shown = relay;
    spawn.WorkFolder = platform::NativePath(state.AppPath);
    spawn.Arguments.push_back(std::move(command));
    plan.Spawns.push_back(std::move(spawn));
    plan.MinimiseOnStart = true;
    return plan;
}

// A relay library of the application folder, or an empty Library when there is none.
CadLibraryCall RelayCall(
    const ReaderState& state, int generation, const std::string& arxPath, const std::string& text)
{
    CadLibraryCall call;
    const std::string file = "CadRelay" + std::to_string(generation) + ".dll";
    if (const auto checked = CheckedFile(state, state.AppPath + "\\" + file))
        call.Library = *checked;
    call.Shown = "CadRelay" + std::to_string(generation) + ".Dll";
    call.Function = "ExeCommand";
    call.Shape = CadLibraryCall::Form::Relay;
    call.ArxPath = arxPath;
    call.CommandText = text;
    return call;
}

// An ARX base handed to the CAD program: named plainly below the application folder and not
// inside the gallery library or temporary folder, where galleries put files.
bool ArxBaseAllowed(const ReaderState& state, const std::string& arxBase)
{
    if (!PlainAppPath(state, arxBase + ".arx"))
        return false;
    const std::string temp = GetTempFolder();
    if (StartsWithNoCase(arxBase, temp + "\\"))
        return false;
    const bool libraryHoldsApp = StartsWithNoCase(state.AppPath + "\\", state.LibPath + "\\");
    return state.LibPath.empty() || libraryHoldsApp || !StartsWithNoCase(arxBase, state.LibPath + "\\");
}

} // namespace

std::string HandoffFilePath(const ReaderState& state)
{
    return state.AppPath + "\\ORVMtools\\userdef\\userdata\\ORVBookCAD.ini";
}

CadPlan PlanInsertDrawing(const ReaderState& state, std::int32_t drawingId)
{
    CadPlan plan;
    plan.What = CadPlan::Kind::Insertion;
    plan.Caption = kInsertCaption;
    plan.Result = 1;
    if (!state.DatabaseOpen)
        return Failure(std::move(plan), 0, "数据库打开错误！");
    DrawingRecord drawing;
    if (std::string error = ReadDrawing(state, drawingId, drawing); !error.empty())
        return Failure(std::move(plan), 0, error);
    if (drawing.DriverType < 0 || drawing.DriverType > 4)
        return Failure(std::move(plan), 0, "错误类型(DriverType=" + std::to_string(drawing.DriverType) + ")");
    DriverDefinition driver;
    if (drawing.DriverType >= 1)
        driver = ReadDriver(state, drawingId, drawing.Folder);
    if (driver.Found && (drawing.DriverType == 2 || drawing.DriverType == 4))
        return PlanDriverProgram(state, std::move(plan), drawing.DriverType, driver);
    return PlanRelayRoad(state, std::move(plan), drawing, driver);
}

CadPlan PlanCadCommand(const ReaderState& state, const std::string& arxBase, const std::string& command,
    const std::string& caption)
{
    CadPlan plan;
    plan.What = CadPlan::Kind::SendCommand;
    plan.Caption = caption;
    if (HasControlCharacter(command))
        return Failure(std::move(plan), -1, kCommandControlMessage);
    if (!ArxBaseAllowed(state, arxBase))
        return Failure(std::move(plan), -1, "未找到" + arxBase + ".arx！");
    const std::string text = RelayCommandText(command);
    for (int generation : { 16, 15 }) {
        const std::string arx = platform::NativePath(arxBase + std::to_string(generation) + ".arx");
        plan.Calls.push_back(RelayCall(state, generation, arx, text));
    }
    return plan;
}

CadPlan PlanLayerSettings(const ReaderState& state)
{
    CadPlan plan;
    plan.What = CadPlan::Kind::LayerSettings;
    plan.Caption = kLayerCaption;
    for (int generation : { 21, 16, 15 }) {
        const std::string arx
            = state.AppPath + "\\ORVMTools\\Support\\ORVMTools" + std::to_string(generation) + ".arx";
        plan.Calls.push_back(RelayCall(state, generation, platform::NativePath(arx), "TCSZ\n"));
    }
    return plan;
}

CadPlan PlanDrawingExecute(const ReaderState& state, std::int32_t dirId, std::int32_t drawingId)
{
    CadPlan plan;
    plan.What = CadPlan::Kind::AddOn;
    plan.Caption = "执行";
    if (!state.DatabaseOpen)
        return Failure(std::move(plan), -1, std::string());
    CAdoRecordset rs;
    if (rs.OpenSql("Select FunApp,Func,Para from DrawingExecute where DirID = " + std::to_string(dirId)
                + " And DrawingID = " + std::to_string(drawingId),
            state.Database)
            != 0
        || rs.IsEOF())
        return Failure(std::move(plan), -1, std::string());
    const std::string app = rs.GetString("FunApp");
    if (app.empty())
        return Failure(std::move(plan), -1, std::string());
    const AddOnCall call = MakeFunctionCall(state, app, rs.GetString("Func"), rs.GetString("Para"));
    if (call.Type == AddOnCall::Kind::None)
        return Failure(std::move(plan), -1, std::string());
    const auto checked = CheckedFile(state, call.File);
    if (!checked)
        return Failure(std::move(plan), -1, call.MissingMessage);
    if (call.Type == AddOnCall::Kind::StartProgram) {
        CadSpawn spawn;
        spawn.Program = *checked;
        spawn.Shown = call.File;
        spawn.WorkFolder = platform::NativePath(GetFolderPart(call.File));
        spawn.Arguments = platform::SplitCommandLine(call.Parameters);
        spawn.Gb18030 = false;
        plan.Spawns.push_back(std::move(spawn));
        return plan;
    }
    CadLibraryCall library;
    library.Library = *checked;
    library.Shown = call.File;
    library.Function = call.Function;
    library.Shape = call.Arguments == 2 ? CadLibraryCall::Form::IntText : CadLibraryCall::Form::Int;
    library.IntArgument = call.IntArgument;
    library.TextArgument = call.TextArgument;
    plan.Calls.push_back(std::move(library));
    return plan;
}

} // namespace orv
