// Fuzzes the Access import on damaged Jet files: a small gallery written by the Jet writer is
// changed by the input (an edit script) and opened through CAdoConnection, as the reader
// opens galleries. Any outcome but a crash or a hang is fine; a success must leave a
// connection that answers a query.
//
// Input: an optional first byte >= 0xF0 truncates the file to (byte & 0x0F) + 3 pages; then
// records of three bytes (page selector, offset selector, new value). Odd offset selectors
// aim at the first 128 bytes of a page (headers, counts, row offsets), even ones anywhere.

#include "database/AdoConnection.h"
#include "database/AdoRecordset.h"
#include "database/jet/Jet4Writer.h"
#include "platform/Hooks.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Fixture {
    std::string folder, gallery, program;
    std::string bytes;

    Fixture()
    {
        char pattern[] = "/tmp/orv-jet-fuzz-XXXXXX";
        folder = ::mkdtemp(pattern);
        // A cache folder that cannot be made: every import goes to memory, no disk syncs.
        setenv("XDG_CACHE_HOME", "/proc/orv-jet-fuzz-no-cache", 1);
        gallery = folder + "/fuzz.gal";
        program = gallery;
        for (char& c : program)
            c = c == '/' ? '\\' : c;
        // Few tables keep each run short; every storage form is there: fixed and variable
        // columns, NULLs, Chinese text, inline, single-row and chained memos.
        using orv::JetColumnType;
        using orv::JetValue;
        orv::CJet4Writer::Options options;
        options.Password = "qvelb7381";
        orv::CJet4Writer writer(options);
        int galleryTable = writer.AddTable({"Gallery", {{"GalleryName", JetColumnType::Text}}}).value();
        writer.AddRow(galleryTable, {JetValue::FromText("图库")});
        int dirs = writer.AddTable({"DrawingDir", {{"DirID", JetColumnType::Long}, {"DirName", JetColumnType::Text},
                                                   {"DirType", JetColumnType::Integer},
                                                   {"DirVisible", JetColumnType::Long},
                                                   {"Shown", JetColumnType::Boolean},
                                                   {"Made", JetColumnType::DateTime},
                                                   {"Note", JetColumnType::Memo}}}).value();
        for (int i = 1; i <= 30; ++i)
            writer.AddRow(dirs, {JetValue::FromInt(i), i % 7 ? JetValue::FromText("目录" + std::to_string(i)) : JetValue::Null(),
                                 JetValue::FromInt(i % 4), JetValue::FromInt(i), JetValue::FromInt(i % 2),
                                 JetValue::FromReal(45000 + i), JetValue::FromText(std::string(i == 5 ? 3000 : i == 9 ? 9000 : 8, 'm'))});
        if (!writer.Save(program))
            std::abort();
        FILE* f = std::fopen(gallery.c_str(), "rb");
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
        orv::platform::SetShowMessageHook(
            [](const std::string&, const std::string&, orv::platform::MessageKind) { return 1; });
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    std::string file = fixture.bytes;
    const std::size_t pages = file.size() / 4096;
    std::size_t pos = 0;
    if (size > 0 && data[0] >= 0xF0) {
        file.resize(std::min(pages, static_cast<std::size_t>((data[0] & 0x0F) + 3)) * 4096);
        pos = 1;
    }
    for (; pos + 3 <= size && !file.empty(); pos += 3) {
        const std::size_t page = data[pos] % (file.size() / 4096);
        const std::size_t offset = data[pos + 1] & 1 ? data[pos + 1] >> 1 : (data[pos + 1] >> 1) * 32u;
        file[page * 4096 + offset] = static_cast<char>(data[pos + 2]);
    }
    FILE* f = std::fopen(fixture.gallery.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);

    orv::CAdoConnection connection;
    if (connection.ConnectDatabase(fixture.program, "qvelb7381") == 0) {
        orv::CAdoRecordset rs;
        if (rs.OpenSql("Select DirID, DirName from DrawingDir Order By DirVisible", connection) == 0) {
            for (; !rs.IsEOF(); rs.MoveNext())
                (void)rs.GetString("DirName");
        }
    }
    return 0;
}
