#include "database/JetDialect.h"

#include "database/SqliteHandle.h"
#include "platform/Paths.h"

#include <sqlite3.h>

#include <cstdint>
#include <vector>

namespace orv {
namespace {

enum class TokenKind { Space, String, Identifier, Number, Punct };

struct Token {
    TokenKind kind;
    std::size_t begin;
    std::size_t end;
    std::string_view name;  // identifiers: without brackets
};

bool IsIdentStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsIdentPart(unsigned char c)
{
    return IsIdentStart(c) || (c >= '0' && c <= '9') || c == '$';
}

std::vector<Token> Tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    std::size_t i = 0, n = sql.size();
    while (i < n) {
        const std::size_t start = i;
        const unsigned char c = static_cast<unsigned char>(sql[i]);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            while (i < n && (sql[i] == ' ' || sql[i] == '\t' || sql[i] == '\r' || sql[i] == '\n' ||
                             sql[i] == '\f' || sql[i] == '\v'))
                ++i;
            tokens.push_back({TokenKind::Space, start, i, {}});
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            while (i < n && sql[i] != '\n')
                ++i;
            tokens.push_back({TokenKind::Space, start, i, {}});
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            std::size_t close = sql.find("*/", i + 2);
            i = close == std::string_view::npos ? n : close + 2;
            tokens.push_back({TokenKind::Space, start, i, {}});
        } else if (c == '\'' || c == '"') {
            ++i;
            while (i < n) {
                if (sql[i] == static_cast<char>(c)) {
                    if (i + 1 < n && sql[i + 1] == static_cast<char>(c)) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            tokens.push_back({TokenKind::String, start, i, {}});
        } else if (c == '[' || c == '`') {
            const char close = c == '[' ? ']' : '`';
            std::size_t stop = sql.find(close, i + 1);
            std::size_t nameEnd = stop == std::string_view::npos ? n : stop;
            i = stop == std::string_view::npos ? n : stop + 1;
            tokens.push_back({TokenKind::Identifier, start, i, sql.substr(start + 1, nameEnd - start - 1)});
        } else if (IsIdentStart(c)) {
            while (i < n && IsIdentPart(static_cast<unsigned char>(sql[i])))
                ++i;
            tokens.push_back({TokenKind::Identifier, start, i, sql.substr(start, i - start)});
        } else if (c >= '0' && c <= '9') {
            while (i < n && (IsIdentPart(static_cast<unsigned char>(sql[i])) || sql[i] == '.'))
                ++i;
            tokens.push_back({TokenKind::Number, start, i, {}});
        } else {
            ++i;
            tokens.push_back({TokenKind::Punct, start, i, {}});
        }
    }
    return tokens;
}

// Jet functions whose result is text; a "+" next to one of their calls joins texts.
bool IsTextFunction(std::string_view name)
{
    static const char* const names[] = {"trim", "ltrim", "rtrim", "ucase", "lcase", "left", "right",
                                        "mid", "str", "chr", "format", "space", "replace", "cstr",
                                        "string", "trim$", "left$", "right$", "mid$", "str$"};
    const std::string lower = platform::ToLowerAscii(name);
    for (const char* candidate : names)
        if (lower == candidate)
            return true;
    return false;
}

// Words that may stand before "(" without making a function call of it.
bool IsKeyword(std::string_view name)
{
    static const char* const words[] = {"select", "where", "and", "or", "not", "in", "on", "as", "from",
                                        "by", "when", "then", "else", "case", "values", "exists", "between",
                                        "like", "is", "distinct", "all", "any", "some", "having", "union",
                                        "join", "set", "top", "mod", "xor", "eqv", "imp"};
    const std::string lower = platform::ToLowerAscii(name);
    for (const char* word : words)
        if (lower == word)
            return true;
    return false;
}

// Walks the statement's significant tokens (blanks and comments left out) and decides for
// each "+" whether it joins texts.
class Translator {
public:
    Translator(std::string_view sql, const TextColumnCatalog& catalog)
        : m_sql(sql), m_catalog(catalog), m_tokens(Tokenize(sql))
    {
        for (std::size_t i = 0; i < m_tokens.size(); ++i)
            if (m_tokens[i].kind != TokenKind::Space)
                m_sig.push_back(i);
        MatchParentheses();
        m_groupState.assign(m_sig.size(), 0);
    }

    std::string Run()
    {
        std::vector<bool> concat(m_sig.size(), false);
        for (std::size_t k = 0; k < m_sig.size(); ++k)
            if (IsPunct(k, '+') && PlusJoinsText(k, 0, m_sig.size(), 0))
                concat[k] = true;
        std::string out;
        out.reserve(m_sql.size() + 8);
        std::size_t copied = 0;
        for (std::size_t k = 0; k < m_sig.size(); ++k) {
            if (!concat[k])
                continue;
            const Token& token = m_tokens[m_sig[k]];
            out.append(m_sql.substr(copied, token.begin - copied));
            out.append("||");
            copied = token.end;
        }
        out.append(m_sql.substr(copied));
        return out;
    }

private:
    static constexpr int kMaxDepth = 64;

    bool IsPunct(std::size_t k, char c) const
    {
        const Token& token = m_tokens[m_sig[k]];
        return token.kind == TokenKind::Punct && m_sql[token.begin] == c;
    }
    TokenKind Kind(std::size_t k) const { return m_tokens[m_sig[k]].kind; }
    std::string_view Name(std::size_t k) const { return m_tokens[m_sig[k]].name; }

    void MatchParentheses()
    {
        m_match.assign(m_sig.size(), SIZE_MAX);
        std::vector<std::size_t> open;
        for (std::size_t k = 0; k < m_sig.size(); ++k) {
            if (IsPunct(k, '(')) {
                open.push_back(k);
            } else if (IsPunct(k, ')') && !open.empty()) {
                m_match[k] = open.back();
                m_match[open.back()] = k;
                open.pop_back();
            }
        }
    }

    // The "+" at k, inside the significant range [low, high).
    bool PlusJoinsText(std::size_t k, std::size_t low, std::size_t high, int depth)
    {
        return LeftOperandIsText(k, low, depth) || RightOperandIsText(k, high, depth);
    }

    bool LeftOperandIsText(std::size_t k, std::size_t low, int depth)
    {
        if (k == low)
            return false;
        const std::size_t j = k - 1;
        switch (Kind(j)) {
        case TokenKind::String:
            return true;
        case TokenKind::Identifier:
            if (j >= low + 2 && IsPunct(j - 1, '.') && Kind(j - 2) == TokenKind::Identifier)
                return m_catalog.IsText(Name(j - 2), Name(j));
            return m_catalog.IsText(std::string_view(), Name(j));
        case TokenKind::Punct: {
            if (!IsPunct(j, ')') || m_match[j] == SIZE_MAX || m_match[j] < low)
                return false;
            const std::size_t open = m_match[j];
            if (open > low && Kind(open - 1) == TokenKind::Identifier && !IsKeyword(Name(open - 1)))
                return IsTextFunction(Name(open - 1));
            return GroupIsText(open, depth + 1);
        }
        default:
            return false;
        }
    }

    bool RightOperandIsText(std::size_t k, std::size_t high, int depth)
    {
        const std::size_t j = k + 1;
        if (j >= high)
            return false;
        switch (Kind(j)) {
        case TokenKind::String:
            return true;
        case TokenKind::Identifier:
            if (j + 1 < high && IsPunct(j + 1, '(') && !IsKeyword(Name(j)))
                return IsTextFunction(Name(j));
            if (j + 2 < high && IsPunct(j + 1, '.') && Kind(j + 2) == TokenKind::Identifier)
                return m_catalog.IsText(Name(j), Name(j + 2));
            return m_catalog.IsText(std::string_view(), Name(j));
        case TokenKind::Punct:
            if (!IsPunct(j, '(') || m_match[j] == SIZE_MAX || m_match[j] >= high)
                return false;
            return GroupIsText(j, depth + 1);
        default:
            return false;
        }
    }

    // A parenthesised expression is text when it joins texts itself or is one text operand.
    bool GroupIsText(std::size_t open, int depth)
    {
        if (m_groupState[open] != 0)
            return m_groupState[open] == 1;
        if (depth > kMaxDepth)
            return false;
        const std::size_t close = m_match[open];
        const std::size_t low = open + 1, high = close;
        bool text = false;
        bool hasPlus = false;
        for (std::size_t k = low; k < high && !text; ++k) {
            if (IsPunct(k, '(') && m_match[k] != SIZE_MAX && m_match[k] < high) {
                k = m_match[k];
                continue;
            }
            if (IsPunct(k, '+')) {
                hasPlus = true;
                text = PlusJoinsText(k, low, high, depth);
            }
        }
        if (!hasPlus && high > low) {
            // One operand: a literal, a column, or a nested group.
            if (high - low == 1 && Kind(low) == TokenKind::String)
                text = true;
            else if (high - low == 1 && Kind(low) == TokenKind::Identifier)
                text = m_catalog.IsText(std::string_view(), Name(low));
            else if (high - low == 3 && Kind(low) == TokenKind::Identifier && IsPunct(low + 1, '.') &&
                     Kind(low + 2) == TokenKind::Identifier)
                text = m_catalog.IsText(Name(low), Name(low + 2));
            else if (IsPunct(low, '(') && m_match[low] == high - 1)
                text = GroupIsText(low, depth + 1);
        }
        m_groupState[open] = text ? 1 : 2;
        return text;
    }

    std::string_view m_sql;
    const TextColumnCatalog& m_catalog;
    std::vector<Token> m_tokens;
    std::vector<std::size_t> m_sig;
    std::vector<std::size_t> m_match;
    std::vector<std::int8_t> m_groupState;  // 0 unknown, 1 text, 2 not text
};

}  // namespace

void TextColumnCatalog::Add(std::string_view table, std::string_view column)
{
    const std::string lowerTable = platform::ToLowerAscii(table);
    const std::string lowerColumn = platform::ToLowerAscii(column);
    m_tables.insert(lowerTable);
    m_qualified.insert(lowerTable + "." + lowerColumn);
    m_columns.insert(lowerColumn);
}

bool TextColumnCatalog::IsText(std::string_view table, std::string_view column) const
{
    const std::string lowerColumn = platform::ToLowerAscii(column);
    if (!table.empty()) {
        const std::string lowerTable = platform::ToLowerAscii(table);
        // A known table decides by its own columns; an alias falls back to the column name.
        if (m_tables.count(lowerTable))
            return m_qualified.count(lowerTable + "." + lowerColumn) != 0;
    }
    return m_columns.count(lowerColumn) != 0;
}

TextColumnCatalog ReadTextColumns(sqlite3* db)
{
    TextColumnCatalog catalog;
    if (!db)
        return catalog;
    // One statement for all tables: pragma_table_info as a table-valued function.
    const char* sql =
        "SELECT m.name, p.name, p.type FROM sqlite_master AS m, pragma_table_info(m.name) AS p "
        "WHERE m.type IN ('table', 'view')";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK)
        return catalog;
    SqliteStatement statement(raw);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        auto text = [raw](int column) {
            const unsigned char* value = sqlite3_column_text(raw, column);
            return std::string(value ? reinterpret_cast<const char*>(value) : "",
                               static_cast<std::size_t>(sqlite3_column_bytes(raw, column)));
        };
        // SQLite's affinity rule: a declared type containing CHAR, CLOB or TEXT is text.
        const std::string type = platform::ToLowerAscii(text(2));
        if (type.find("char") != std::string::npos || type.find("clob") != std::string::npos ||
            type.find("text") != std::string::npos)
            catalog.Add(text(0), text(1));
    }
    return catalog;
}

std::string TranslateJetSql(std::string_view sql, const TextColumnCatalog& textColumns)
{
    return Translator(sql, textColumns).Run();
}

}  // namespace orv
