#pragma once
// The manifest of a gallery build (docs/gallery-manifest.md) in memory: the rows of every
// gallery table in friendly form, the keyword file's lines, and the files of the gallery root
// with where each comes from. ParseGalleryManifest reads the JSON form and checks it whole;
// a generator may fill the structures directly and check them with CheckGalleryManifest.
//
// Optional texts are std::optional: an absent text is stored as NULL, which the reader tells
// apart from an empty text ("SpecPath + '\' + SourceContent" is NULL only for a NULL).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

using OptText = std::optional<std::string>;

// A drawing in drawing units, y up. Coordinates: Line x1 y1 x2 y2; Polyline and Fill x y
// pairs; Circle cx cy r; Arc cx cy r start end (degrees, counter-clockwise); Text at x y.
struct DrawingItem {
    enum class Kind { Line, Polyline, Fill, Circle, Arc, Text };
    Kind Type = Kind::Line;
    std::vector<double> Coords;
    bool Closed = false; // Polyline only
    int Color = 7; // AutoCAD colour index
    std::string Text; // Text only, UTF-8
    double Height = 0.0; // Text only
};

struct DrawingDescription {
    std::vector<DrawingItem> Items;
};

// Where one written file (or package member) comes from.
struct ManifestContent {
    enum class Kind { Source, Text, Drawing, Members };
    Kind Type = Kind::Text;
    std::string Source; // program path of the source file
    std::string Text; // UTF-8
    DrawingDescription Drawing;
    bool Utf8Source = false; // a page source to be turned from UTF-8 into GB18030
    int Width = 240, Height = 180; // pictures drawn from a drawing
    std::uint32_t Background = 0xFFFFFF; // 0xRRGGBB
    std::string Where; // "files[3]" or "files[3].members[1]", for messages
};

struct ManifestMember {
    std::string Name; // member name as the library stores it ("A1.files\m12.png")
    ManifestContent Content;
};

struct ManifestFile {
    std::string Path; // relative to the gallery root, "\" separated
    ManifestContent Content;
    std::vector<ManifestMember> Members; // Content.Type == Members
};

struct ManifestSpeciality {
    std::int32_t Id = 0;
    OptText Name, Path;
    std::int32_t Order = 0;
};

struct ManifestDirectory {
    std::int32_t Id = 0, Parent = 0, Spec = 0;
    OptText Name;
    int Type = 0;
    OptText Path, Content, SourceContent;
    int Compressed = 0;
    OptText Mark;
    std::int32_t Visible = 0;
    std::vector<std::string> Pages; // DrawingDirFiles, in ContentOrder
};

struct ManifestIndexEntry {
    OptText Name;
    std::string Dir; // IndexDirID is text in the table
    std::int32_t Order = 0;
};

struct ManifestDataField {
    OptText Caption;
    int Type = 0; // FieldDataType: 1 number, else text
    std::optional<double> Number;
    OptText Text;
};

struct ManifestDimDriver {
    OptText App, Fun, Path, Name;
};

struct ManifestDrawing {
    std::int32_t Id = 0, Dir = 0;
    std::optional<std::int32_t> Spec; // default: the directory's speciality
    OptText Name, Caption, Status1, AppClass, FunClass, ShpClass, Keywords, Preview;
    bool PathGiven = false; // false: SpecPath + DirPath of the directory
    OptText Path;
    OptText File, Block;
    int Driver = 0, Compressed = 0;
    std::int32_t Bound = 0, UserType = 0;
    std::vector<ManifestDataField> Data;
    std::optional<ManifestDimDriver> DimDriver;
};

struct ManifestMembership {
    std::int32_t Dir = 0, Drawing = 0, Order = 0;
};

struct ManifestAction {
    std::int32_t Dir = 0, Drawing = 0;
    OptText App, Func, Para;
};

struct GalleryManifest {
    enum class FullText { Compressed, Plain, None };

    std::string Name; // <Name>.GAL and the folder <Name>
    std::string GalleryName;
    OptText Version, Date;
    std::vector<std::pair<std::string, std::string>> Titles, Settings;
    std::vector<ManifestSpeciality> Specialities;
    std::vector<ManifestDirectory> Directories;
    std::vector<ManifestIndexEntry> Index;
    std::vector<ManifestDrawing> Drawings;
    // Without a memberships list every drawing not bound to another is a member of its own
    // directory: the reader lists a directory's drawings through DrawingDirList whenever that
    // table exists, so an empty table would show no drawings at all.
    bool HasMemberships = false;
    std::vector<ManifestMembership> Memberships;
    std::vector<ManifestAction> Actions;
    bool HasKeywords = false;
    std::vector<std::string> Keywords;
    FullText FullTextForm = FullText::Compressed;
    std::vector<ManifestFile> Files;
};

// Parses the JSON text of a manifest whose sources lie relative to baseFolder (a program
// path), then checks it. False with "where: why" in error.
bool ParseGalleryManifest(
    std::string_view json, const std::string& baseFolder, GalleryManifest& manifest, std::string& error);

// The extension of a path in a manifest, lower-cased: "HEX.HTZ" gives "htz"; "" for none.
std::string ManifestPathExtension(std::string_view path);

// The checks that span the manifest: unique ids, references between rows, parent cycles,
// file paths inside the gallery root and written once. False with "where: why".
bool CheckGalleryManifest(const GalleryManifest& manifest, std::string& error);

} // namespace orv
