#pragma once
// The demo application folder, built once per run of this test program by orvdemo into a
// temporary folder, and the small readers the demo tests share: statements run through the
// reader's own recordset, and every page of a gallery, plain or packed.

#include "database/AdoConnection.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orv::test {

class DemoFolder {
public:
    // Builds the folder on first use; null (after a test failure) when orvdemo failed.
    static const DemoFolder* Get();

    const std::string& Native() const { return m_native; }
    std::string Program() const; // the folder as a program path
    std::string At(const std::string& relative) const; // program path of a file in the folder
    std::string GalleryPath(const std::string& name) const; // ...\ORVBookLib\<name>.GAL
    std::string GalleryRoot(const std::string& name) const; // ...\ORVBookLib\<name>
    // The open connection to a demo gallery (Mech or Elec), opened once.
    const CAdoConnection& Connection(const std::string& name) const;

private:
    std::string m_native;
    mutable std::map<std::string, std::unique_ptr<CAdoConnection>> m_connections;
};

using Row = std::map<std::string, std::string>; // column name -> value as GetString reads it

// Every row of a statement; a statement that does not open fails the test and gives none.
std::vector<Row> Rows(const CAdoConnection& connection, const std::string& sql);
int CountRows(const CAdoConnection& connection, const std::string& sql);

// A page of a gallery as the reader finds it: a file, or a member of an HTML package.
struct GalleryPage {
    std::string Where; // for messages: "Fasten\Bolts\BOLTS.htz:index.htm" or the file path
    std::string Folder; // program path of the folder holding the file or the package
    std::string Package; // program path of the package ("" for a file)
    std::string Title; // the page's name without ".htm" (the member name for a package page)
    std::string Text; // UTF-8
};

// Every page below the gallery root: *.htm files and the pages of every *.htz package.
std::vector<GalleryPage> GalleryPages(const std::string& galleryRoot);

// The values of an attribute (href, src, name) in a page, in order.
std::vector<std::string> Attributes(const std::string& page, const std::string& attribute);

// The content key of a directory as the directory page shows it (on its page number `page`):
// SourceContent below the speciality, else DirContent or the page of DrawingDirFiles in the
// directory's folder, "PACKAGE(PAGE).htz" when compressed, a picture of the same name when
// the page file is missing; "" for an unknown directory or one without content.
std::string ContentKey(const CAdoConnection& db, const std::string& galleryRoot, long dirId, int page);
bool IsPictureKey(const std::string& key);

bool FileStartsWith(const std::string& programPath, const std::string& magic);

} // namespace orv::test
