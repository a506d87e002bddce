#pragma once
// The reader's decisions towards the CAD side and the per-directory actions, as plans.
//
// Insertion of a drawing: by its driver type either the relay program CadRelay.Exe gets one
// AutoLISP call as its one argument, after the hand-off file
// AppPath\ORVMtools\userdef\userdata\ORVBookCAD.ini (section ORVBookInsert: DriverPath,
// DriverName, AppPath, FunName, DrawingCaption, Status1) was written; or a dimension-driver
// program of the tool suite (types 2 and 4 with a driver definition) gets its parameter
// string. Every value spliced into the call is an escaped AutoLISP string, so each command is
// one balanced call: types 0 send ORV_BeginInsertOrvBookBlkDrawing with the gallery name,
// types 1 to 4 ORV_BeginInsertOrvBookDrvDrawing with the caption and status.
//
// Programs and libraries are only those inside the application folder, named without "..",
// "/" or a drive letter, and outside the gallery library and temporary folders.

#include "cadlink/CadPlan.h"

#include <cstdint>
#include <string>

namespace orv {

struct ReaderState;

inline constexpr const char* kInsertCaption = "插图件";
inline constexpr const char* kLayerCaption = "图层设置";

// The hand-off file of the CAD side.
std::string HandoffFilePath(const ReaderState& state);

// Inserting the drawing (driver types 0 to 4).
CadPlan PlanInsertDrawing(const ReaderState& state, std::int32_t drawingId);

// Loading arxBase + generation + ".arx" into the CAD program and sending command, through
// CadRelay16.dll and then CadRelay15.dll. caption titles the message.
CadPlan PlanCadCommand(const ReaderState& state, const std::string& arxBase, const std::string& command,
    const std::string& caption);

// The layer-settings command "TCSZ" through CadRelay21, 16 and 15.
CadPlan PlanLayerSettings(const ReaderState& state);

// The DrawingExecute action of a directory (drawingId 0) or of a drawing: result -1 without
// a row or with an empty FunApp.
CadPlan PlanDrawingExecute(const ReaderState& state, std::int32_t dirId, std::int32_t drawingId);

} // namespace orv
