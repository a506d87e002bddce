#pragma once
// Starting other programs without a shell, the stand-in for the Windows shell's "open".

#include <string>
#include <string_view>
#include <vector>

namespace orv::platform {

// Splits a Windows parameter string into arguments: blanks separate outside quotes; quotes
// group and are removed; 2n backslashes before a quote give n backslashes and the quote acts,
// 2n+1 give n backslashes and a literal quote; "" inside quotes is a literal quote; other
// backslashes are literal.
std::vector<std::string> SplitCommandLine(std::string_view parameters);

// Starts the program (a program path) with its parameter string split as above, in the given
// working folder (empty: the current one), without waiting. True when the process started.
bool StartProgram(const std::string& program, const std::string& parameters, const std::string& workFolder);

// Starts the program with exactly one argument, taken whole.
bool StartProgramWithArgument(const std::string& program, const std::string& argument,
                              const std::string& workFolder);

// Opens a document (a program path) or a URL with the desktop's handler (xdg-open, then
// $BROWSER for URLs).
bool OpenDocument(const std::string& documentOrUrl);

// Lower level: argv[0] is the file to run, searched in PATH when it holds no "/".
bool Spawn(const std::vector<std::string>& argv, const std::string& nativeWorkFolder);

}  // namespace orv::platform
