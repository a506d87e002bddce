#pragma once
// Free text in the tool's records (database values, column and table names) may hold the
// characters that separate fields and records. Such a field is printed escaped: a backslash
// as "\\", a tab as "\t", a line feed as "\n", a carriage return as "\r"; every other byte as
// it is. The escaping reverses without doubt: a backslash is always followed by one of
// "\", "t", "n", "r", so "Z:\temp" prints as "Z:\\temp" and a tab between "Z:" and "emp" as
// "Z:\temp".

#include <string>
#include <string_view>

namespace orv::tool {

std::string EscapeField(std::string_view text);

}  // namespace orv::tool
