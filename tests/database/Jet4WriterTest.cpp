#include "JetCheckTools.h"
#include "JetTestReader.h"
#include "JetTestValues.h"
#include "database/jet/Jet4Writer.h"
#include "database/jet/JetHeader.h"
#include "builder/SampleGallery.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace orv {
namespace {

using test::JetReadFile;
using test::JetReadRow;
using Opt = std::optional<std::string>;

using test::I;
using test::N;
using test::R;
using test::Repeat;
using test::T;

class Jet4WriterTest : public ::testing::Test {
protected:
    CJet4Writer::Options Options() const
    {
        CJet4Writer::Options options;
        options.CreationDate = 45000.5;
        return options;
    }
    // Writes one table with the rows and reads the file back with the test reader.
    JetReadFile WriteAndRead(const JetTableDef& def, const std::vector<JetRow>& rows)
    {
        CJet4Writer writer(Options());
        std::optional<int> table = writer.AddTable(def);
        EXPECT_TRUE(table) << writer.LastError();
        for (const JetRow& row : rows)
            EXPECT_TRUE(writer.AddRow(*table, row)) << writer.LastError();
        std::optional<std::string> bytes = writer.Finish();
        EXPECT_TRUE(bytes);
        std::string error;
        std::optional<JetReadFile> file = test::ReadJetForTest(bytes.value_or(""), error);
        EXPECT_TRUE(file) << error;
        return file.value_or(JetReadFile{});
    }
};

std::string WrittenFile(const std::string& password, double creationDate)
{
    CJet4Writer::Options options;
    options.Password = password;
    options.CreationDate = creationDate;
    CJet4Writer writer(options);
    writer.AddTable({"T", {{"A", JetColumnType::Long}}});
    return writer.Finish().value_or("");
}

TEST_F(Jet4WriterTest, HeaderCarriesThePasswordAsPrescribed)
{
    std::string reason;
    std::string file = WrittenFile("", 45000.5);
    std::optional<JetHeader> header = ParseJetHeader(file, file.size(), reason);
    ASSERT_TRUE(header) << reason;
    EXPECT_EQ(header->version, 1);
    EXPECT_EQ(header->databaseKey, 0u);
    EXPECT_EQ(header->password, "");
    // "No password" is the mask of the creation date, not zeros.
    std::string page = file.substr(0, 4096);
    CryptJetHeaderRegion(page, 1);
    EXPECT_EQ(page.substr(0x42, 8), std::string("\xc8\xaf\x00\x00\xc8\xaf\x00\x00", 8));
    EXPECT_EQ(file.substr(0x3E, 4), "\xfb\x8a\xbc\x4e");

    for (double date : {45000.5, -700.25, 1.0}) {
        file = WrittenFile("秘密pw1", date);
        header = ParseJetHeader(file, file.size(), reason);
        ASSERT_TRUE(header) << reason;
        EXPECT_EQ(header->password, "秘密pw1") << date;
    }
    file = WrittenFile("密码abcdefghijklmnopqr", 45000.5);  // the field holds 20 characters
    header = ParseJetHeader(file, file.size(), reason);
    ASSERT_TRUE(header) << reason;
    EXPECT_EQ(header->password, "密码abcdefghijklmnopqr");
}

// A longer password cannot be stored whole; cutting it would leave a file that its own
// password does not open.
TEST_F(Jet4WriterTest, PasswordsLongerThanTheFieldAreRefused)
{
    CJet4Writer::Options options;
    options.Password = "abcdefghijklmnopqrstu";
    CJet4Writer writer(options);
    ASSERT_TRUE(writer.AddTable({"T", {{"A", JetColumnType::Long}}}));
    EXPECT_FALSE(writer.Finish());
    EXPECT_NE(writer.LastError().find("password"), std::string::npos);
}

const JetTableDef kMixed{"Mixed",
                         {{"A", JetColumnType::Long},
                          {"B", JetColumnType::Text, 20},
                          {"C", JetColumnType::Integer},
                          {"D", JetColumnType::Text, 20},
                          {"E", JetColumnType::Boolean},
                          {"F", JetColumnType::Memo},
                          {"G", JetColumnType::Double},
                          {"H", JetColumnType::Text, 20},
                          {"I", JetColumnType::Byte}}};

TEST_F(Jet4WriterTest, NullsAnywhereInTheRow)
{
    JetReadFile file = WriteAndRead(
        kMixed, {{N(), T("b"), I(3), T("d"), I(1), T("f"), R(0.5), T("h"), I(9)},
                 {I(1), T("b"), I(3), T("d"), I(0), T("f"), N(), T("h"), I(9)},
                 {I(1), T("b"), I(3), T("d"), I(1), T("f"), R(2), T("h"), N()},
                 {N(), N(), N(), N(), N(), N(), N(), N(), N()},
                 {I(7), T("x"), N(), N(), N(), N(), N(), T("z"), I(255)}});
    const auto& rows = file.Tables["Mixed"].Rows;
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (JetReadRow{Opt(), "b", "3", "d", "1", "f", "0.5", "h", "9"}));
    EXPECT_EQ(rows[1], (JetReadRow{"1", "b", "3", "d", "0", "f", Opt(), "h", "9"}));
    EXPECT_EQ(rows[2], (JetReadRow{"1", "b", "3", "d", "1", "f", "2", "h", Opt()}));
    // A NULL Yes/No column reads as No: Access has no NULL booleans.
    EXPECT_EQ(rows[3], (JetReadRow{Opt(), Opt(), Opt(), Opt(), "0", Opt(), Opt(), Opt(), Opt()}));
    // NULL variable values between non-NULL ones keep the later ones in place.
    EXPECT_EQ(rows[4], (JetReadRow{"7", "x", Opt(), Opt(), "0", Opt(), Opt(), "z", "255"}));
    EXPECT_EQ(file.Tables["Mixed"].RowCount, 5u);
}

TEST_F(Jet4WriterTest, EmptyTextDiffersFromNull)
{
    JetReadFile file = WriteAndRead(kMixed, {{I(1), T(""), N(), N(), N(), T(""), N(), N(), N()},
                                             {I(2), N(), N(), T(""), N(), N(), N(), N(), N()}});
    const auto& rows = file.Tables["Mixed"].Rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], Opt(""));
    EXPECT_EQ(rows[0][5], Opt(""));
    EXPECT_EQ(rows[0][3], Opt());
    EXPECT_EQ(rows[1][1], Opt());
    EXPECT_EQ(rows[1][3], Opt(""));
}

TEST_F(Jet4WriterTest, ValuesKeepTheirTypesAndTexts)
{
    JetTableDef def{"各种", {{"Flag", JetColumnType::Boolean}, {"Small", JetColumnType::Byte},
                             {"Short", JetColumnType::Integer}, {"Whole", JetColumnType::Long},
                             {"Real", JetColumnType::Double}, {"When", JetColumnType::DateTime},
                             {"名称", JetColumnType::Text}}};
    JetReadFile file = WriteAndRead(
        def, {{I(1), I(0), I(-32768), I(-2147483648LL), R(-1e300), R(45000.25), T("齿轮 gear")},
              {I(0), I(255), I(32767), I(2147483647LL), R(0.1), T("2024-05-06 07:08:09"), T("Ünïcode ÿ")},
              // Numeric texts in number columns and numbers in text columns are converted.
              {T("1"), T(" 12 "), T("-7"), R(1e9), T("2.5"), I(3), I(42)},
              {N(), N(), N(), N(), N(), N(), T("\xEF\xBB\xBF" "bom")}});
    ASSERT_EQ(file.Tables.count("各种"), 1u);
    const auto& t = file.Tables["各种"];
    EXPECT_EQ(t.Columns[6].Name, "名称");
    EXPECT_EQ(t.Rows[0], (JetReadRow{"1", "0", "-32768", "-2147483648", "-1.0000000000000001e+300", "45000.25",
                                     "齿轮 gear"}));
    EXPECT_DOUBLE_EQ(std::stod(t.Rows[1][5].value_or("0")), *OleDateFromIso("2024-05-06 07:08:09"));
    EXPECT_EQ(t.Rows[1][6], Opt("Ünïcode ÿ"));
    EXPECT_EQ(t.Rows[2], (JetReadRow{"1", "12", "-7", "1000000000", "2.5", "3", "42"}));
    // A leading byte-order mark would read as the compression marker, so it is dropped.
    EXPECT_EQ(t.Rows[3][6], Opt("bom"));
}

TEST_F(Jet4WriterTest, SingleAndCurrencyColumns)
{
    JetTableDef def{"Money", {{"S", JetColumnType::Single}, {"C", JetColumnType::Currency}}};
    JetReadFile file = WriteAndRead(def, {{R(1.5), R(12.3456)}, {R(-0.1), I(-7)}, {N(), R(922337203685476.0)}});
    const auto& rows = file.Tables["Money"].Rows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (JetReadRow{"1.5", "12.3456"}));
    EXPECT_EQ(rows[1], (JetReadRow{"-0.100000001", "-7.0000"}));
    EXPECT_EQ(rows[2][0], Opt());
    CJet4Writer writer(Options());
    int t = writer.AddTable(def).value();
    EXPECT_FALSE(writer.AddRow(t, {R(1e39), N()}));
    EXPECT_FALSE(writer.AddRow(t, {N(), R(1e15)}));
}

TEST_F(Jet4WriterTest, TableWithFixedColumnsOnly)
{
    JetTableDef def{"Fixed", {{"A", JetColumnType::Long}, {"B", JetColumnType::Boolean}, {"C", JetColumnType::Double}}};
    JetReadFile file = WriteAndRead(def, {{I(1), I(1), R(1.5)}, {N(), N(), N()}, {I(-3), I(0), R(-2)}});
    const auto& rows = file.Tables["Fixed"].Rows;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (JetReadRow{"1", "1", "1.5"}));
    EXPECT_EQ(rows[1], (JetReadRow{Opt(), "0", Opt()}));
    EXPECT_EQ(rows[2], (JetReadRow{"-3", "0", "-2"}));
}

TEST_F(Jet4WriterTest, ManyRowsSpreadOverPagesInOrder)
{
    JetTableDef def{"Many", {{"Id", JetColumnType::Long}, {"Name", JetColumnType::Text}}};
    std::vector<JetRow> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({I(i), T("第" + std::to_string(i) + "行")});
    JetReadFile file = WriteAndRead(def, rows);
    const auto& t = file.Tables["Many"];
    ASSERT_EQ(t.Rows.size(), 5000u);
    EXPECT_GT(t.DataPages.size(), 20u);
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(t.Rows[static_cast<std::size_t>(i)], (JetReadRow{std::to_string(i), "第" + std::to_string(i) + "行"}));
}

// A memo of Chinese characters takes two bytes each, so its storage size is exact.
TEST_F(Jet4WriterTest, MemosGoInlineOrToLongValuePagesAtTheirThresholds)
{
    JetTableDef def{"Memo", {{"Id", JetColumnType::Long}, {"Body", JetColumnType::Memo}}};
    // Row overhead: 2 count + 4 fixed + 2 end + 2 offset + 2 variable count + 1 mask + 12 header.
    const std::size_t overhead = 2 + 4 + 2 + 2 + 2 + 1 + 12;
    const std::size_t inlineMax = (4060 - overhead) / 2;  // characters
    std::vector<std::size_t> sizes{0, 1, inlineMax, inlineMax + 1, 2038, 2039, 5000, 2036 * 3, 2036 * 3 + 1, 70000};
    std::vector<JetRow> rows;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        rows.push_back({I(static_cast<std::int64_t>(i)), T(Repeat("图", sizes[i]))});
    JetReadFile file = WriteAndRead(def, rows);
    const auto& t = file.Tables["Memo"];
    ASSERT_EQ(t.Rows.size(), sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i)
        EXPECT_EQ(t.Rows[i][1], Opt(Repeat("图", sizes[i]))) << sizes[i];
    // Inline: 0, 1, inlineMax; one long-value row: up to 4076 bytes (2038 characters);
    // chains beyond.
    EXPECT_EQ(t.MemoKinds[0], 3);
    EXPECT_EQ(t.MemoKinds[1], 2);
    EXPECT_EQ(t.MemoKinds[2], 5);
}

TEST_F(Jet4WriterTest, DefinitionsLongerThanAPageContinue)
{
    JetTableDef def{"Wide", {}};
    JetRow row;
    for (int i = 0; i < 200; ++i) {
        def.Columns.push_back({"Column_number_" + std::to_string(i), i % 2 ? JetColumnType::Long : JetColumnType::Text, 5});
        row.push_back(i % 2 ? I(i) : T(std::to_string(i)));
    }
    JetReadFile file = WriteAndRead(def, {row});
    const auto& t = file.Tables["Wide"];
    ASSERT_EQ(t.Columns.size(), 200u);
    EXPECT_EQ(t.Columns[199].Name, "Column_number_199");
    ASSERT_EQ(t.Rows.size(), 1u);
    EXPECT_EQ(t.Rows[0][198], Opt("198"));
    EXPECT_EQ(t.Rows[0][199], Opt("199"));
}

TEST_F(Jet4WriterTest, ValuesThatDoNotFitAreRefusedAndLeaveTheFileIntact)
{
    CJet4Writer writer(Options());
    JetTableDef def{"T", {{"B", JetColumnType::Byte}, {"I", JetColumnType::Integer}, {"S", JetColumnType::Text, 3},
                          {"D", JetColumnType::DateTime}}};
    int t = writer.AddTable(def).value();
    for (const JetRow& bad : std::vector<JetRow>{{I(256), N(), N(), N()},
                                                 {I(-1), N(), N(), N()},
                                                 {N(), I(32768), N(), N()},
                                                 {N(), R(1.5), N(), N()},
                                                 {N(), T("abc"), N(), N()},
                                                 {N(), N(), T("四个字符"), N()},
                                                 {N(), N(), N(), T("2023-02-30")},
                                                 {N(), N(), N()}}) {
        EXPECT_FALSE(writer.AddRow(t, bad));
        EXPECT_FALSE(writer.LastError().empty());
    }
    EXPECT_TRUE(writer.AddRow(t, {I(1), I(2), T("三个字"), T("2023-02-28")}));
    std::string error;
    std::optional<JetReadFile> file = test::ReadJetForTest(writer.Finish().value(), error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->Tables["T"].Rows.size(), 1u);
    EXPECT_FALSE(writer.Finish());  // spent
}

TEST_F(Jet4WriterTest, RowsLongerThanAccessAllowsAreRefused)
{
    CJet4Writer writer(Options());
    JetTableDef def{"Wide", {}};
    for (int i = 0; i < 9; ++i)
        def.Columns.push_back({"T" + std::to_string(i), JetColumnType::Text, 255});
    int t = writer.AddTable(def).value();
    JetRow row(9, T(Repeat("宽", 255)));
    EXPECT_FALSE(writer.AddRow(t, row));
    EXPECT_NE(writer.LastError().find("too long"), std::string::npos);
    row.resize(7);
    row.resize(9, N());
    EXPECT_TRUE(writer.AddRow(t, row)) << writer.LastError();
}

TEST_F(Jet4WriterTest, BadNamesAndColumnListsAreRefused)
{
    CJet4Writer writer(Options());
    EXPECT_TRUE(writer.AddTable({"Parts", {{"Id", JetColumnType::Long}}}));
    for (const JetTableDef& def : std::vector<JetTableDef>{{"parts", {{"Id", JetColumnType::Long}}},
                                                           {"MSysObjects", {{"Id", JetColumnType::Long}}},
                                                           {"", {{"Id", JetColumnType::Long}}},
                                                           {std::string(65, 'n'), {{"Id", JetColumnType::Long}}},
                                                           {"NoColumns", {}},
                                                           {"Twice", {{"Id", JetColumnType::Long}, {"ID", JetColumnType::Text}}},
                                                           {"Length", {{"S", JetColumnType::Text, 256}}}})
        EXPECT_FALSE(writer.AddTable(def)) << def.Name;
    EXPECT_TRUE(writer.AddTable({Repeat("名", 64), {{Repeat("列", 64), JetColumnType::Long}}}));
}

// The independent readers: mdbtools and mdb-reader must see every value as written.
class JetIndependentReadersTest : public Jet4WriterTest {
protected:
    static constexpr int kRows = 3003;
    static JetTableDef Parts()
    {
        return {"Parts",
                {{"Id", JetColumnType::Long},
                 {"Small", JetColumnType::Integer},
                 {"Ratio", JetColumnType::Double},
                 {"Name", JetColumnType::Text},
                 {"Note", JetColumnType::Memo},
                 {"Count", JetColumnType::Byte},
                 {"Ok", JetColumnType::Boolean},
                 {"Made", JetColumnType::DateTime},
                 {"Path", JetColumnType::Text, 100}}};
    }
    // Row i of Parts, with NULLs scattered by residue and memos of every storage kind.
    static JetRow PartsRow(int i)
    {
        auto nullEvery = [&](int k, JetValue v) { return i % k == 3 ? N() : v; };
        std::string memo = i % 500 == 1 ? Repeat("长备注", 4000) : i % 100 == 2 ? Repeat("m", 3000) : "备注 " + std::to_string(i);
        return {I(i),
                nullEvery(7, I(i % 30000 - 15000)),
                nullEvery(11, R(i * 0.25)),
                nullEvery(13, T(i % 2 ? "齿轮" + std::to_string(i) : "gear " + std::to_string(i))),
                nullEvery(17, T(memo)),
                nullEvery(19, I(i % 256)),
                I(i % 3 == 0),
                nullEvery(23, R(40000 + i + (i % 24) / 24.0)),
                nullEvery(29, T("\\图库\\Dir" + std::to_string(i)))};
    }
    void SetUp() override
    {
        CJet4Writer::Options options = Options();
        options.Password = "qvelb7381";
        CJet4Writer writer(options);
        int parts = writer.AddTable(Parts()).value();
        for (int i = 0; i < kRows; ++i)
            ASSERT_TRUE(writer.AddRow(parts, PartsRow(i))) << writer.LastError();
        ASSERT_TRUE(writer.AddTable({"空表", {{"名字", JetColumnType::Text}, {"值", JetColumnType::Long}}}));
        ASSERT_TRUE(writer.Save(m_folder.ProgramAt("gallery.mdb"))) << writer.LastError();
        m_path = m_folder.NativeAt("gallery.mdb");
    }
    test::TempFolder m_folder;
    std::string m_path;
};

// How mdb-export prints the value written for row i, column c.
std::optional<std::string> ExportText(const JetValue& v, JetColumnType type)
{
    if (v.IsNull())
        return type == JetColumnType::Boolean ? Opt("0") : Opt();
    switch (type) {
    case JetColumnType::Boolean: return v.Int ? "1" : "0";
    case JetColumnType::Double: {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%g", v.Real);
        return std::string(buffer);
    }
    case JetColumnType::DateTime: return OleDateToIso(v.Real);
    case JetColumnType::Text:
    case JetColumnType::Memo: return v.Text;
    default: return std::to_string(v.Int);
    }
}

TEST_F(JetIndependentReadersTest, MdbtoolsListsDescribesAndExportsEveryValue)
{
    std::string missing = test::MdbtoolsMissing();
    if (!missing.empty())
        GTEST_SKIP() << missing;
    test::ToolResult tables = test::RunProgram({"mdb-tables", "-1", m_path});
    ASSERT_EQ(tables.status, 0) << tables.err;
    EXPECT_EQ(tables.out, "Parts\n空表\n");

    test::ToolResult schema = test::RunProgram({"mdb-schema", m_path, "access"});
    ASSERT_EQ(schema.status, 0) << schema.err;
    for (const char* line : {"[Id]\t\t\tLong Integer", "[Small]\t\t\tInteger", "[Ratio]\t\t\tDouble",
                             "[Name]\t\t\tText (255)", "[Note]\t\t\tMemo/Hyperlink", "[Count]\t\t\tByte",
                             "[Ok]\t\t\tBoolean", "[Made]\t\t\tDateTime", "[Path]\t\t\tText (100)", "[名字]"})
        EXPECT_NE(schema.out.find(line), std::string::npos) << line << "\n" << schema.out;

    auto rows = test::MdbExport(m_path, "Parts");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), static_cast<std::size_t>(kRows));
    JetTableDef def = Parts();
    int mismatches = 0;
    for (int i = 0; i < kRows; ++i) {
        JetRow expected = PartsRow(i);
        for (std::size_t c = 0; c < def.Columns.size(); ++c) {
            if ((*rows)[static_cast<std::size_t>(i)][c] != ExportText(expected[c], def.Columns[c].Type) &&
                ++mismatches < 5)
                ADD_FAILURE() << "row " << i << " column " << def.Columns[c].Name;
        }
    }
    EXPECT_EQ(mismatches, 0);
    auto empty = test::MdbExport(m_path, "空表");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST_F(JetIndependentReadersTest, MdbReaderReadsEveryValueAndThePassword)
{
    std::string missing = test::MdbReaderMissing();
    if (!missing.empty())
        GTEST_SKIP() << missing;
    std::string error;
    std::optional<nlohmann::json> json = test::MdbReaderRead(m_path, error);
    ASSERT_TRUE(json) << error;
    EXPECT_EQ((*json)["password"], "qvelb7381");
    ASSERT_TRUE(json->at("tables").contains("空表"));
    EXPECT_TRUE((*json)["tables"]["空表"]["rows"].empty());
    const nlohmann::json& rows = (*json)["tables"]["Parts"]["rows"];
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kRows));
    JetTableDef def = Parts();
    int mismatches = 0;
    for (int i = 0; i < kRows; ++i) {
        JetRow expected = PartsRow(i);
        for (std::size_t c = 0; c < def.Columns.size(); ++c) {
            const nlohmann::json& got = rows[static_cast<std::size_t>(i)][c];
            const JetValue& v = expected[c];
            bool same = false;
            switch (def.Columns[c].Type) {
            case JetColumnType::Boolean: same = got.is_boolean() && got.get<bool>() == (v.Int != 0); break;
            case JetColumnType::DateTime:
                same = v.IsNull() ? got.is_null()
                                  : got.is_object() && got["ms"].get<double>() == std::round((v.Real - 25569) * 86400000);
                break;
            case JetColumnType::Double: same = v.IsNull() ? got.is_null() : got.is_number() && got.get<double>() == v.Real; break;
            case JetColumnType::Text:
            case JetColumnType::Memo: same = v.IsNull() ? got.is_null() : got.is_string() && got.get<std::string>() == v.Text; break;
            default: same = v.IsNull() ? got.is_null() : got.is_number_integer() && got.get<std::int64_t>() == v.Int; break;
            }
            if (!same && ++mismatches < 5)
                ADD_FAILURE() << "row " << i << " column " << def.Columns[c].Name << ": " << got.dump().substr(0, 80);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Usage maps too long for a row become reference maps with bitmap pages of their own.
TEST(JetReferenceMapTest, ReferenceMapsReadInEveryReader)
{
    test::TempFolder folder;
    CJet4Writer::Options options;
    options.MaxInlineMapBytes = 1;
    CJet4Writer writer(options);
    int t = writer.AddTable({"T", {{"Id", JetColumnType::Long}, {"Name", JetColumnType::Text}}}).value();
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(writer.AddRow(t, {JetValue::FromInt(i), JetValue::FromText("名" + std::to_string(i))}));
    std::string bytes = writer.Finish().value();
    std::string error;
    std::optional<test::JetReadFile> file = test::ReadJetForTest(bytes, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->Tables["T"].Rows.size(), 3000u);
    EXPECT_EQ(file->Tables["T"].Rows[2999][1], Opt("名2999"));
    test::WriteFile(folder.NativeAt("t.mdb"), bytes);
    if (test::MdbtoolsMissing().empty()) {
        auto rows = test::MdbExport(folder.NativeAt("t.mdb"), "T");
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows->size(), 3000u);
    }
    if (test::MdbReaderMissing().empty()) {
        std::optional<nlohmann::json> json = test::MdbReaderRead(folder.NativeAt("t.mdb"), error);
        ASSERT_TRUE(json) << error;
        EXPECT_EQ(json->at("tables").at("T").at("rows").size(), 3000u);
    }
}

// A whole generated gallery, every table, in both readers.
TEST(JetSampleGalleryTest, EveryTableOpensInBothReadersWithItsRows)
{
    test::TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteSampleAccessGallery(folder.ProgramAt("s.gal"), "qvelb7381", {100, 500}, error)) << error;
    const std::string path = folder.NativeAt("s.gal");
    const std::map<std::string, std::size_t> rows{
        {"Gallery", 1},         {"GalleryTitle", 4},   {"GallerySet", 4},      {"SpecClass", 8},
        {"DrawingDir", 100},    {"DrawingDirFiles", 30}, {"DrawingDirIndex", 20}, {"DrawingList", 500},
        {"DrawingDirList", 50}, {"DrawingData", 100},  {"DimDriverDefine", 100}, {"DrawingExecute", 10}};
    std::string missing = test::MdbtoolsMissing();
    if (missing.empty()) {
        for (const auto& [table, count] : rows) {
            auto exported = test::MdbExport(path, table);
            ASSERT_TRUE(exported) << table;
            EXPECT_EQ(exported->size(), count) << table;
        }
    }
    std::string reader = test::MdbReaderMissing();
    if (reader.empty()) {
        std::optional<nlohmann::json> json = test::MdbReaderRead(path, error);
        ASSERT_TRUE(json) << error;
        EXPECT_EQ(json->at("tables").size(), rows.size());
        for (const auto& [table, count] : rows)
            EXPECT_EQ(json->at("tables").at(table).at("rows").size(), count) << table;
    }
    if (!missing.empty() || !reader.empty())
        GTEST_SKIP() << missing << (missing.empty() ? "" : "; ") << reader;
}

}  // namespace
}  // namespace orv
