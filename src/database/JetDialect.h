#pragma once
// The one place where statements written for Jet are adapted to SQLite. Jet joins texts with
// "+" ("SpecPath + '\' + SourceContent"); SQLite's "+" adds numbers, so a "+" with a text
// operand on either side becomes "||". Both propagate NULL, which callers rely on (a NULL
// SourceContent makes the whole expression NULL). Nothing else is rewritten: SQLite accepts
// the rest of the statements the reader runs (aliases with "as", Count(...), In (Select ...),
// Order By lists, [bracketed] names) as they are.
//
// A "+" counts as text concatenation when an operand next to it is a quoted literal, a
// column the database declares as text, a parenthesised expression holding such an operand,
// or a call of one of Jet's text functions. Known limit: SQLite binds "||" tighter than "*"
// and "/", so "'a' + b * c" (rare in galleries) groups differently than in Jet.

#include <string>
#include <string_view>
#include <unordered_set>

struct sqlite3;

namespace orv {

// The text columns of a database, by lower-case "table.column" and by lower-case column
// name alone (a name qualified by an alias, or not qualified, is looked up by column only).
class TextColumnCatalog {
public:
    void Add(std::string_view table, std::string_view column);
    bool IsText(std::string_view table, std::string_view column) const;
    bool Empty() const { return m_columns.empty(); }

private:
    std::unordered_set<std::string> m_qualified;
    std::unordered_set<std::string> m_columns;
    std::unordered_set<std::string> m_tables;
};

// Reads every table's columns with text affinity (declared TEXT, CHAR, CLOB, VARCHAR ...).
TextColumnCatalog ReadTextColumns(sqlite3* db);

std::string TranslateJetSql(std::string_view sql, const TextColumnCatalog& textColumns);

}  // namespace orv
