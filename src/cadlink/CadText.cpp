#include "cadlink/CadText.h"

#include <cstdio>

namespace orv {

bool HasControlCharacter(std::string_view text)
{
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

std::string LispString(std::string_view text)
{
    // UTF-8 never uses 0x22 or 0x5C inside a multi-byte character, so looking at single
    // bytes here is looking at characters.
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::string PercentEscapeControls(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string RelayCommandText(const std::string& command)
{
    if (command.empty() || command == "NULL")
        return std::string();
    std::string text = command + "\n";
    for (char& c : text) {
        if (c == ';')
            c = ' ';
        else if (c == '\'')
            c = '"';
    }
    return text;
}

namespace {

const char* const kStepTexts[] = {
    "AutoCAD应用标识错误(CLSIDFromProgID)",
    "AutoCAD未运行(GetActiveObject)",
    "未得到AutoCAD窗口(QueryInterface)",
    "未得到AutoCAD窗口(QueryInterface)",
    "未得到AutoCAD文档(get_ActiveDocument)",
    "窗口错误(HWND)",
    "加载错误(LoadArx)",
    "命令错误(SendCommand)",
};

} // namespace

std::string CadErrorText(int code)
{
    if (code >= 1 && code <= 8)
        return std::string(kStepTexts[code - 1]) + "！";
    return "未知错误！";
}

std::string LayerErrorText(int code)
{
    if (code >= 1 && code <= 8)
        return kStepTexts[code - 1];
    return "执行错误";
}

} // namespace orv
