#pragma once
// The texts the reader hands to the CAD side: AutoLISP strings spliced into a command line,
// the command text of a relay call, and the messages of the relays' result codes.

#include <string>
#include <string_view>

namespace orv {

// Whether the text holds a control character (below 0x20, or 0x7F): a line break in a value
// would end the command line, or the hand-off line, early and start another.
bool HasControlCharacter(std::string_view text);

// The text as the inside of an AutoLISP string: "\" as "\\", """ as "\"". It works on the
// UTF-8 text, character by character, before the command is encoded: a GB18030 character
// whose second byte is 0x5C is no backslash and must stay as it is.
std::string LispString(std::string_view text);

// The command text a relay library is handed for a tool command: empty for "" and "NULL",
// otherwise the command with a newline appended, every ";" a blank and every "'" a """.
std::string RelayCommandText(const std::string& command);

// Control characters and "%" written as %HH, so that a logged or printed record stays one
// line: the command's final newline shows as %0A.
std::string PercentEscapeControls(std::string_view bytes);

// The messages of a relay's result code: for tool commands and insertions, and for the
// layer settings.
std::string CadErrorText(int code);
std::string LayerErrorText(int code);

} // namespace orv
