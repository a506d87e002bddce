// Fuzzes the Jet dialect translation: any statement text must come back without a crash, and
// only "+" signs may change (into "||").

#include "database/JetDialect.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const orv::TextColumnCatalog catalog = [] {
        orv::TextColumnCatalog c;
        c.Add("SpecClass", "SpecPath");
        c.Add("DrawingDir", "DirPath");
        c.Add("DrawingDir", "SourceContent");
        c.Add("T", "a");
        return c;
    }();
    const std::string sql(reinterpret_cast<const char*>(data), size);
    const std::string out = orv::TranslateJetSql(sql, catalog);
    // Every change is one "+" becoming "||": removing the inserted bars gives the input back.
    std::size_t i = 0, j = 0;
    while (i < sql.size() && j < out.size()) {
        if (sql[i] == out[j]) {
            ++i;
            ++j;
        } else if (sql[i] == '+' && out.compare(j, 2, "||") == 0) {
            ++i;
            j += 2;
        } else {
            std::abort();
        }
    }
    if (i != sql.size() || j != out.size())
        std::abort();
    return 0;
}
