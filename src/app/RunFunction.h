#pragma once
// Add-on calls named by gallery data and pages: "program|function|parameters" texts of page
// links and the per-drawing actions (program, function, parameters). A program ending in
// "EXE" is started with the function text as its parameters; one ending in "DLL" is loaded
// and its export named by function is called with one integer (the parameters through atoi)
// or, when the parameters hold a ",", with that integer and the text after it, in which
// "<root>" stands for the application folder.

#include "app/AddOnCall.h"

#include <string>

namespace orv {

struct ReaderState;

// atoi with the value kept in the int range.
int AtoiClamped(const std::string& text);

// The application folder as the native path that add-ons are handed, put in place of every
// "<root>" in text.
std::string ReplaceRoot(const ReaderState& state, const std::string& text);

// The call RunFunction carries out: Kind::None for another extension or more than two
// parameter fields.
AddOnCall MakeFunctionCall(const ReaderState& state, const std::string& program, const std::string& function,
    const std::string& parameters);

// 0 when the program started or the function was called, else -1; message says why nothing
// ran when there is something to tell ("" otherwise), for callers that show it.
int RunFunction(const ReaderState& state, const std::string& program, const std::string& function,
    const std::string& parameters, std::string* message = nullptr);

// Splits the call text at "|" into program, function and parameters (missing fields empty,
// fields after the third ignored) and runs it when the program field is not empty; -1 when it
// is.
int RunFunctionSpec(const ReaderState& state, const std::string& callText, std::string* message = nullptr);

} // namespace orv
