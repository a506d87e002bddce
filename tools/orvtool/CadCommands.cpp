// orvtool insert GALLERY DRAWINGID and orvtool execute GALLERY DIRID: the plan the reader makes
// for inserting a drawing or for a directory's (or drawing's) action, one record a line, and
// the plan carried out unless --dry-run is given. The planner is the reader's own.

#include "Command.h"
#include "app/ReaderState.h"
#include "cadlink/CadExecutor.h"
#include "cadlink/CadPlanner.h"
#include "cadlink/CadText.h"
#include "platform/Paths.h"

#include <cstdio>
#include <iostream>

namespace orv::tool {
namespace {

struct CadArgs {
    std::string gallery, appDir;
    std::int32_t id = 0, drawing = 0;
    bool dryRun = false;
};

void Print(std::initializer_list<std::string> fields, const std::vector<std::string>& more = {})
{
    bool first = true;
    for (const std::string& field : fields) {
        std::cout << (first ? "" : "\t") << PercentEscapeControls(field);
        first = false;
    }
    for (const std::string& field : more)
        std::cout << '\t' << PercentEscapeControls(field);
    std::cout << '\n';
}

void PrintPlan(const CadPlan& plan)
{
    if (!plan.HandoffPath.empty()) {
        Print({ "handoff", platform::NativePath(plan.HandoffPath) });
        for (const auto& [key, value] : plan.HandoffKeys)
            Print({ "handoff-key", key, value });
    }
    for (const CadSpawn& spawn : plan.Spawns)
        Print({ "spawn", spawn.Program, spawn.WorkFolder }, spawn.Arguments);
    for (const CadLibraryCall& call : plan.Calls) {
        const std::string library = call.Library.empty() ? call.Shown : call.Library;
        switch (call.Shape) {
        case CadLibraryCall::Form::Relay:
            Print({ "dlcall", library, call.Function, call.ArxPath, call.CommandText });
            break;
        case CadLibraryCall::Form::Int:
            Print({ "dlcall", library, call.Function, std::to_string(call.IntArgument) });
            break;
        case CadLibraryCall::Form::IntText:
            Print({ "dlcall", library, call.Function, std::to_string(call.IntArgument), call.TextArgument });
            break;
        }
    }
}

int Run(const CadArgs& args, bool insert)
{
    QuietMessages quiet;
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    const CadPlan plan
        = insert ? PlanInsertDrawing(state, args.id) : PlanDrawingExecute(state, args.id, args.drawing);
    PrintPlan(plan);
    const CadOutcome outcome = args.dryRun ? ExpectedOutcome(plan) : ExecuteCadPlan(plan);
    if (outcome.Message.empty())
        Print({ "result", std::to_string(outcome.Result) });
    else
        Print({ "result", std::to_string(outcome.Result), outcome.Message });
    const bool success = insert ? outcome.Result == 1 : outcome.Result == 0;
    return success ? 0 : 1;
}

void Register(CLI::App& app)
{
    auto insertArgs = std::make_shared<CadArgs>();
    auto* insert = app.add_subcommand("insert", "Insert a drawing into the CAD program, as the reader does");
    insert->add_option("GALLERY", insertArgs->gallery, "The gallery database (.GAL)")->required();
    insert->add_option("DRAWINGID", insertArgs->id, "The drawing's DrawingID")->required();
    insert->add_option("--app-dir", insertArgs->appDir, "The application folder");
    insert->add_flag("--dry-run", insertArgs->dryRun, "Print the plan without carrying it out");
    SetAction(insert, [insertArgs] { return Run(*insertArgs, true); });

    auto executeArgs = std::make_shared<CadArgs>();
    auto* execute = app.add_subcommand("execute", "Run a directory's or a drawing's DrawingExecute action");
    execute->add_option("GALLERY", executeArgs->gallery, "The gallery database (.GAL)")->required();
    execute->add_option("DIRID", executeArgs->id, "The directory's DirID")->required();
    execute->add_option(
        "--drawing", executeArgs->drawing, "The drawing's DrawingID (0: the directory's own action)");
    execute->add_option("--app-dir", executeArgs->appDir, "The application folder");
    execute->add_flag("--dry-run", executeArgs->dryRun, "Print the plan without carrying it out");
    SetAction(execute, [executeArgs] { return Run(*executeArgs, false); });
}

const CommandRegistrar registrar("cadlink", Register);

} // namespace
} // namespace orv::tool
