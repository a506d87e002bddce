#pragma once
// The gallery tables in their Access form, and a generated Access gallery of any size with
// Chinese names, memos, NULLs and every table filled: for tests, fuzzing, benchmarks and
// demonstrations of the importer on real Jet files.

#include "database/jet/JetTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The gallery tables as Access declares them: texts as Text (keyword lists as Memo), the
// 16-bit columns as Integer, the other integers as Long, reals as Double.
std::vector<JetTableDef> GalleryJetTables();

struct SampleGallerySize {
    int Directories = 200;
    int Drawings = 1000;
};

// Writes the generated gallery to a program path; false with the reason in error.
bool WriteSampleAccessGallery(std::string_view programPath, std::string_view password, SampleGallerySize size,
                              std::string& error);

}  // namespace orv
