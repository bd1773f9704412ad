// The code-page converter on single values and arrays, with the real
// translator library beside the test program.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "localization/CodeConverter.h"
#include "localization/ConverterInstallation.h"
#include "platform/core/Exception.h"

namespace qv {
namespace {

using test::ConverterInstallation;
using test::kBig5System;
using test::kGBSystem;

const std::string kSimplified = "开启报表失败";
const std::string kTraditional = "開啟報表失敗";

using Operation = std::function<Variant(const TCodeConverter&, const Variant&)>;

struct NamedOperation {
  const char* name;
  Operation run;
};

const NamedOperation kOperations[] = {
    {"ConvertForUI", [](const TCodeConverter& c, const Variant& v) { return c.ConvertForUI(v); }},
    {"ConvertFromUI", [](const TCodeConverter& c, const Variant& v) { return c.ConvertFromUI(v); }},
    {"ConvertFromDB", [](const TCodeConverter& c, const Variant& v) { return c.ConvertFromDB(v); }},
    {"ConvertToDB", [](const TCodeConverter& c, const Variant& v) { return c.ConvertToDB(v); }},
};

TEST(CodeConverterSetup, ModesComeFromTheConfiguration) {
  const struct {
    const char* locale;
    const char* codePages;
    const char* sys;
    const char* ui;
    const char* db;
    int uiMode, dbMode;
    bool translator;
  } cases[] = {
      {kGBSystem, "DBCodePage=950\n", "936", "936", "950", 0, 1, false},
      {kGBSystem, "UICodePage=950\nDBCodePage=936\n", "936", "950", "936", 2, 2, true},
      {kBig5System, "UICodePage=936\n", "950", "936", "936", 4, 0, true},
  };
  for (const auto& c : cases) {
    ConverterInstallation install(c.locale, c.codePages);
    const TCodeConverter converter(nullptr);
    EXPECT_EQ(converter.SysCodePage(), c.sys) << c.locale << " " << c.codePages;
    EXPECT_EQ(converter.UICodePage(), c.ui) << c.locale << " " << c.codePages;
    EXPECT_EQ(converter.DBCodePage(), c.db) << c.locale << " " << c.codePages;
    EXPECT_EQ(converter.UIConvertMode(), c.uiMode) << c.locale << " " << c.codePages;
    EXPECT_EQ(converter.DBConvertMode(), c.dbMode) << c.locale << " " << c.codePages;
    EXPECT_EQ(converter.HasTranslator(), c.translator) << c.locale << " " << c.codePages;
  }
}

TEST(CodeConverterSetup, ServerDesignReadsTheServerConfiguration) {
  ConverterInstallation install(kGBSystem, "UICodePage=950\n");
  install.SetServerCodePages("UICodePage=936\nDBCodePage=950\n");
  const TCodeConverter server(nullptr, dtServer);
  EXPECT_EQ(server.DesignType(), dtServer);
  EXPECT_EQ(server.UICodePage(), "936");
  EXPECT_EQ(server.DBConvertMode(), 1);
  EXPECT_FALSE(server.HasTranslator());
  const TCodeConverter client(nullptr);
  EXPECT_EQ(client.DesignType(), dtClient);
  EXPECT_EQ(client.UIConvertMode(), 2);
}

TEST(CodeConverterSetup, MissingTranslatorFailsOnlyWhenTheInterfaceNeedsIt) {
  const std::string library = "/nonexistent/Qvlanguage.so";
  {
    ConverterInstallation install(kGBSystem, "UICodePage=950\n");
    try {
      TCodeConverter converter(nullptr, dtClient, library);
      FAIL() << "the converter was created without its translator";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Load Library " + library + " Error!");
    }
  }
  ConverterInstallation install(kGBSystem, "DBCodePage=950\n");
  const TCodeConverter converter(nullptr, dtClient, library);
  EXPECT_EQ(converter.ConvertToDB(kTraditional).ToString(), kTraditional);
}

// UICodePage 936 on a GB system: no translator, so even a database of
// another code page gets its values unchanged.
TEST(CodeConverterValues, GBInterfaceOnGBSystemConvertsNothing) {
  ConverterInstallation install(kGBSystem, "UICodePage=936\nDBCodePage=950\n");
  const TCodeConverter converter(nullptr);
  ASSERT_EQ(converter.DBConvertMode(), 1);
  const Variant values[] = {Variant(kSimplified), Variant(kTraditional), Variant::ArrayOf({kTraditional, 5})};
  for (const NamedOperation& operation : kOperations)
    for (const Variant& value : values) EXPECT_EQ(operation.run(converter, value), value) << operation.name;
  EXPECT_EQ(converter.ConvertBig5ToGB(kTraditional), kTraditional);
  EXPECT_EQ(converter.ConvertGBToBig5(kSimplified), kSimplified);
}

// UICodePage 950 with a GB database: program and database texts are
// simplified, the interface traditional.
TEST(CodeConverterValues, TraditionalInterfaceOverGBDatabase) {
  ConverterInstallation install(kGBSystem, "UICodePage=950\nDBCodePage=936\n");
  const TCodeConverter converter(nullptr);
  // In kOperations order: into the interface, back, from the database, to it.
  const std::string sourceAndResult[][2] = {{kSimplified, kTraditional},
                                     {kTraditional, kSimplified},
                                     {kSimplified, kTraditional},
                                     {kTraditional, kSimplified}};
  for (int i = 0; i < 4; ++i) {
    const Variant result = kOperations[i].run(converter, Variant(sourceAndResult[i][0]));
    EXPECT_EQ(result.Type(), VarType::String) << kOperations[i].name;
    EXPECT_EQ(result.ToString(), sourceAndResult[i][1]) << kOperations[i].name;
  }
  EXPECT_EQ(converter.ConvertBig5ToGB(kTraditional), kSimplified);
  EXPECT_EQ(converter.ConvertGBToBig5(kSimplified), kTraditional);
  EXPECT_EQ(converter.ConvertGBToBig5(""), "");
  EXPECT_EQ(converter.ConvertGBToBig5("Report 2024"), "Report 2024");
}

class CodeConverterArrays : public ::testing::Test {
 protected:
  ConverterInstallation install{kGBSystem, "UICodePage=950\nDBCodePage=936\n"};
  TCodeConverter converter{nullptr};
};

TEST_F(CodeConverterArrays, TwoDimensionalArrayIsConvertedCellByCell) {
  Variant rows = Variant::Array2(1, 2, 0, 2);
  const std::string simplified[2][3] = {{"报表", "开启", "失败"}, {"后台", "请稍后", "价格"}};
  const std::string traditional[2][3] = {{"報表", "開啟", "失敗"}, {"後臺", "請稍後", "價格"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) rows.At(r + 1, c) = simplified[r][c];

  const Variant result = converter.ConvertForUI(rows);
  ASSERT_EQ(result.DimCount(), 2);
  EXPECT_EQ(result.LowBound(1), 1);
  EXPECT_EQ(result.HighBound(2), 2);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(result.At(r + 1, c).ToString(), traditional[r][c]) << r << "," << c;
  EXPECT_EQ(rows.At(1, 0).ToString(), "报表");  // the input itself is left as it was
}

TEST_F(CodeConverterArrays, OneDimensionalElementsComeBackAsText) {
  const Variant result = converter.ConvertForUI(Variant::ArrayOf({5, 2.5, kSimplified}));
  ASSERT_EQ(result.DimCount(), 1);
  EXPECT_EQ(result[0].Type(), VarType::String);
  EXPECT_EQ(result[0].ToString(), "5");
  EXPECT_EQ(result[1].Type(), VarType::String);
  EXPECT_EQ(result[2].ToString(), kTraditional);
}

TEST_F(CodeConverterArrays, NestedArraysAndEmptyCellsKeepTheirShape) {
  Variant grid = Variant::Array2(0, 0, 0, 1);
  grid.At(0, 0) = kSimplified;  // (0, 1) stays empty
  const Variant nested = Variant::ArrayOf({Variant::ArrayOf({kSimplified}), grid, Variant::Unicode(kSimplified)});

  const Variant result = converter.ConvertForUI(nested);
  ASSERT_TRUE(result[0].IsArray());
  EXPECT_EQ(result[0][0].ToString(), kTraditional);
  ASSERT_EQ(result[1].DimCount(), 2);
  EXPECT_EQ(result[1].At(0, 0).ToString(), kTraditional);
  EXPECT_TRUE(result[1].At(0, 1).IsEmpty());
  EXPECT_EQ(result[2].Type(), VarType::UString);
  EXPECT_EQ(result[2].ToString(), kTraditional);
}

TEST_F(CodeConverterArrays, EmptyAndNullAreReturnedAsTheyAre) {
  EXPECT_TRUE(converter.ConvertForUI(Variant()).IsEmpty());
  EXPECT_TRUE(converter.ConvertFromDB(Variant::Null()).IsNull());
}

// Conversion errors: the database and interface directions back to the
// program give the input; the others pass the error on.
TEST_F(CodeConverterArrays, OnlyTheWayBackSwallowsErrors) {
  const Variant invalidText(std::string("\xFF\xFE报表"));
  const Variant nullInList = Variant::ArrayOf({kTraditional, Variant::Null()});
  for (const Variant& bad : {invalidText, nullInList}) {
    EXPECT_EQ(converter.ConvertToDB(bad), bad);
    EXPECT_EQ(converter.ConvertFromUI(bad), bad);
    EXPECT_THROW(converter.ConvertFromDB(bad), Exception);
    EXPECT_THROW(converter.ConvertForUI(bad), Exception);
  }
}

}  // namespace
}  // namespace qv
