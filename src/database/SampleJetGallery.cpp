#include "database/SampleJetGallery.h"

#include "database/jet/Jet4Writer.h"

namespace orv {
namespace {

using T = JetColumnType;

JetValue I(std::int64_t v) { return JetValue::FromInt(v); }
JetValue R(double v) { return JetValue::FromReal(v); }
JetValue S(std::string v) { return JetValue::FromText(std::move(v)); }
JetValue N() { return JetValue::Null(); }
std::string Num(long long v) { return std::to_string(v); }

}  // namespace

std::vector<JetTableDef> GalleryJetTables()
{
    return {
        {"Gallery", {{"GalleryName", T::Text}, {"GalleryVersion", T::Text}, {"CreateDate", T::Text}}},
        {"GalleryTitle", {{"TitleName", T::Text}, {"TitleCaption", T::Text}}},
        {"GallerySet", {{"ParaName", T::Text}, {"ParaValue", T::Text}}},
        {"SpecClass", {{"SpecID", T::Long}, {"SpecName", T::Text}, {"SpecPath", T::Text}, {"ShowOrder", T::Long}}},
        {"DrawingDir",
         {{"DirID", T::Long}, {"ParDirID", T::Long}, {"SpecID", T::Long}, {"DirName", T::Text},
          {"DirType", T::Integer}, {"DirPath", T::Text}, {"DirContent", T::Text}, {"SourceContent", T::Text},
          {"DirContentCompress", T::Integer}, {"ContentMark", T::Text}, {"DirVisible", T::Long}}},
        {"DrawingDirFiles", {{"DirID", T::Long}, {"DirContent", T::Text}, {"ContentOrder", T::Long}}},
        {"DrawingDirIndex", {{"IndexName", T::Text}, {"IndexDirID", T::Text}, {"IndexOrder", T::Long}}},
        {"DrawingList",
         {{"DrawingID", T::Long}, {"DirID", T::Long}, {"SpecID", T::Long}, {"DrawingName", T::Text},
          {"DrawingCaption", T::Text}, {"Status1", T::Text}, {"AppClass", T::Text}, {"FunClass", T::Text},
          {"ShpClass", T::Text}, {"QueryKeyword", T::Memo}, {"PreviewFile", T::Text}, {"DrawingPath", T::Text},
          {"DrawingFileName", T::Text}, {"DrawingBlock", T::Text}, {"DriverType", T::Integer},
          {"IsCompressed", T::Integer}, {"BoundDrawingID", T::Long}, {"UserType", T::Long}}},
        {"DrawingDirList", {{"DirID", T::Long}, {"DrawingID", T::Long}, {"DrawingOrder", T::Long}}},
        {"DrawingData",
         {{"DrawingID", T::Long}, {"FieldOrder", T::Long}, {"FieldCaption", T::Text}, {"FieldDataType", T::Integer},
          {"FieldValue_DBL", T::Double}, {"FieldValue_STR", T::Text}}},
        {"DimDriverDefine",
         {{"DrawingID", T::Long}, {"AppName", T::Text}, {"FunName", T::Text}, {"DefinePath", T::Text},
          {"DimDriverName", T::Text}}},
        {"DrawingExecute",
         {{"DirID", T::Long}, {"DrawingID", T::Long}, {"FunApp", T::Text}, {"Func", T::Text}, {"Para", T::Text}}},
    };
}

bool WriteSampleAccessGallery(std::string_view programPath, std::string_view password, SampleGallerySize size,
                              std::string& error)
{
    CJet4Writer::Options options;
    options.Password = std::string(password);
    CJet4Writer writer(options);
    std::vector<int> t;
    for (const JetTableDef& def : GalleryJetTables()) {
        std::optional<int> index = writer.AddTable(def);
        if (!index) {
            error = writer.LastError();
            return false;
        }
        t.push_back(*index);
    }
    enum { Gallery, Title, Set, Spec, Dir, DirFiles, DirIndex, List, DirList, Data, DimDriver, Execute };
    bool ok = true;
    auto add = [&](int table, const JetRow& row) { ok = ok && writer.AddRow(t[static_cast<std::size_t>(table)], row); };

    const int specs = 8;
    add(Gallery, {S("机械设计图库"), S("2.0"), S("2024-05-06")});
    for (const char* name : {"Status1", "AppClass", "FunClass", "ShpClass"})
        add(Title, {S(name), S(std::string("类别 ") + name)});
    for (const char* name : {"HasTextContents", "HasTextSearch", "HasDwgKeyword", "HasSrcPreview"})
        add(Set, {S(name), S("1")});
    for (int s = 1; s <= specs; ++s)
        add(Spec, {I(s), S("专业" + Num(s)), S("\\Spec" + Num(s)), I(specs - s)});
    for (int d = 1; d <= size.Directories; ++d) {
        // A tree: every directory below the one a tenth of its number, the first ones at the top.
        int parent = d <= specs * 4 ? 0 : d / 10;
        add(Dir, {I(d), I(parent), I(d % specs + 1), S("目录 " + Num(d) + " 零件"), I(d % 4),
                  S("\\Dir" + Num(d)), S("Page" + Num(d) + ".htm"), d % 50 == 0 ? S("Src\\S" + Num(d) + ".htm") : N(),
                  I(d % 25 == 0), d % 97 == 0 ? S("add:Tool" + Num(d) + ".exe") : N(), I(d % 113 == 0 ? -1 : d)});
        if (d % 10 == 0) {
            for (int p = 0; p < 3; ++p)
                add(DirFiles, {I(d), S("Page" + Num(d) + "_" + Num(p) + ".htm"), I(p)});
        }
        if (d % 5 == 0)
            add(DirIndex, {S("关键词" + Num(d)), S(Num(d)), I(d)});
    }
    for (int g = 1; g <= size.Drawings; ++g) {
        int dir = size.Directories > 0 ? g % size.Directories + 1 : 0;
        std::string keywords = "齿轮 轴承 螺栓 " + Num(g);
        if (g % 100 == 7)
            for (int k = 0; k < 200; ++k)
                keywords += " 关键词" + Num(k);  // a long memo now and then
        add(List, {I(g), I(dir), I(dir % specs + 1), S("DWG" + Num(g)), S("图样 " + Num(g)),
                   g % 3 ? S("状态" + Num(g % 5)) : N(), S("应用" + Num(g % 7)), S("功能" + Num(g % 11)),
                   S("形状" + Num(g % 13)), S(keywords), S("Prev" + Num(g) + ".sld"), S("\\Dir" + Num(dir)),
                   S("D" + Num(g) + ".dwg"), S("BLK" + Num(g)), I(g % 5), I(0), I(g % 20 == 0 ? g - 1 : 0),
                   I(g % 3)});
        if (g % 10 == 0) {
            add(DirList, {I(dir), I(g), I(g)});
            add(Data, {I(g), I(1), S("长度"), I(1), R(g * 0.5), N()});
            add(Data, {I(g), I(2), S("材料"), I(2), N(), S("45号钢")});
        }
        if (g % 5 == 1)
            add(DimDriver, {I(g), S("App" + Num(g)), S("Fun" + Num(g)), S("\\Def\\" + Num(g)), S("Drv" + Num(g))});
        if (g % 50 == 0)
            add(Execute, {I(dir), I(g), S("Tools\\Run.exe"), S("-d " + Num(g)), S("1,2")});
    }
    if (!ok || !writer.Save(programPath)) {
        error = writer.LastError();
        return false;
    }
    return true;
}

}  // namespace orv
