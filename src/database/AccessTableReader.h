#pragma once
// The reading half of the Access import: walks the user tables of a Jet 3 / Jet 4 database
// through libmdb and hands each table's definition and rows to a TableSink. System tables
// (MSys*) are left out. Text arrives as UTF-8; Jet 3 text is decoded with the database's
// code page (GB18030 when the header names none or names 936).
//
// libmdb trusts the file, so callers check the header first (JetHeader.h).

#include "database/ImportTable.h"

#include <cstdint>
#include <string>

namespace orv {

class CAccessTableReader {
public:
    // nativePath: the Access file; jet3CodePage: the code page from its header (Jet 3 only).
    CAccessTableReader(std::string nativePath, int version, std::uint16_t jet3CodePage);

    // Reads every user table into the sink. False with the reason in error when the file
    // cannot be read or the sink stops; sinkFailed tells which.
    bool ReadAll(TableSink& sink, std::string& error, bool& sinkFailed);

private:
    std::string m_path;
    int m_version;
    std::uint16_t m_codePage;
};

}  // namespace orv
