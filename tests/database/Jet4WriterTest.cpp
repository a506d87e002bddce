#include "JetCheckTools.h"
#include "database/Jet4Writer.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Scratch, Write)
{
    CJet4Writer::Options options;
    options.Password = "秘密pw1";
    options.CreationDate = 45000.5;
    CJet4Writer writer(options);
    JetTableDef def{"Parts", {{"Id", JetColumnType::Long}, {"Name", JetColumnType::Text, 50},
                              {"Note", JetColumnType::Memo}, {"Ok", JetColumnType::Boolean},
                              {"When", JetColumnType::DateTime}, {"B", JetColumnType::Byte},
                              {"I", JetColumnType::Integer}, {"D", JetColumnType::Double}}};
    auto t = writer.AddTable(def);
    ASSERT_TRUE(t);
    ASSERT_TRUE(writer.AddRow(*t, {JetValue::FromInt(1), JetValue::FromText("齿轮"), JetValue::FromText("memo"),
                                   JetValue::FromInt(1), JetValue::FromText("2024-05-06 07:08:09"),
                                   JetValue::FromInt(200), JetValue::FromInt(-5), JetValue::FromReal(1.5)}))
        << writer.LastError();
    ASSERT_TRUE(writer.AddRow(*t, {JetValue::FromInt(2), JetValue::Null(), JetValue::FromText(""), JetValue::Null(),
                                   JetValue::Null(), JetValue::Null(), JetValue::Null(), JetValue::Null()}));
    ASSERT_TRUE(writer.AddRow(*t, {JetValue::FromInt(3), JetValue::FromText(""), JetValue::FromText(std::string(3000, 'x')), JetValue::Null(),
                                   JetValue::Null(), JetValue::Null(), JetValue::Null(), JetValue::Null()}));
    ASSERT_TRUE(writer.AddRow(*t, {JetValue::FromInt(4), JetValue::FromText(""), JetValue::FromText(std::string(30000, 'y')), JetValue::Null(),
                                   JetValue::Null(), JetValue::Null(), JetValue::Null(), JetValue::Null()}));
    ASSERT_TRUE(writer.Save("\\tmp\\scratch.mdb")) << writer.LastError();
}

}  // namespace
}  // namespace orv
