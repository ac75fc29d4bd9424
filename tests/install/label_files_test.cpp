#include "install/label_files.h"

#include <gtest/gtest.h>

#include <string>

using namespace install;

TEST(LabelIniText, ThreeCrLfLinesNoZero) {
  EXPECT_EQ(LabelIniText("KTL-300L (3inch)"),
            "[OEMFiles]\r\n"
            "OEMDriverFile1=KTL-300L (3inch)Drv.dll\r\n"
            "OEMConfigFile1=KTL-300L (3inch)UI.dll\r\n");
  // ANSI bytes of a name pass through unchanged.
  EXPECT_EQ(LabelIniText("\xB1\xEA"),
            "[OEMFiles]\r\nOEMDriverFile1=\xB1\xEA"
            "Drv.dll\r\n"
            "OEMConfigFile1=\xB1\xEA"
            "UI.dll\r\n");
}

class LabelGpdRewrite : public ::testing::Test {
 protected:
  std::string Rewrite(const std::string& gpd) {
    return RewriteLabelGpd(gpd, "KTL-300L (3inch).gpd", "KTL-300L (3inch)");
  }
};

TEST_F(LabelGpdRewrite, KeysReplacedOtherLinesByteIdentical) {
  const std::string gpd =
      "*% Label printer GPD\r\n"
      "*GPDSpecVersion: \"1.0\"\r\n"
      "*GPDFileName: \"KTL-400L (4inch).gpd\"\r\n"
      "*ModelName: \"KTL-400L (4inch)\"\n"
      "*ResourceDLL:\"KTL-400L (4inch)RES.dll\"\r\n"
      "  *rcModelNameID: 1 \t\r\n"
      "\r\n"
      "*Include: \"STDNAMES.GPD\"";
  EXPECT_EQ(Rewrite(gpd),
            "*% Label printer GPD\r\n"
            "*GPDSpecVersion: \"1.0\"\r\n"
            "*GPDFileName:\"KTL-300L (3inch).gpd\"\r\n"
            "*ModelName:\"KTL-300L (3inch)\"\r\n"
            "*ResourceDLL:\"KTL-300L (3inch)RES.dll\"\r\n"
            "  *rcModelNameID: 1 \t\r\n"
            "\r\n"
            "*Include: \"STDNAMES.GPD\"");
}

TEST_F(LabelGpdRewrite, KeyAnywhereInTheLineReplacesTheWholeLine) {
  // The first key found in the order GPDFileName, ModelName, ResourceDLL decides.
  EXPECT_EQ(Rewrite("  *ModelName: x *GPDFileName: y\n"),
            "*GPDFileName:\"KTL-300L (3inch).gpd\"\r\n");
  EXPECT_EQ(Rewrite("*% old *ResourceDLL: a.dll\n"),
            "*ResourceDLL:\"KTL-300L (3inch)RES.dll\"\r\n");
  // A last line without line feed still gets one.
  EXPECT_EQ(Rewrite("*ModelName: \"A\""), "*ModelName:\"KTL-300L (3inch)\"\r\n");
  // Key names are matched exactly, with their colon.
  EXPECT_EQ(Rewrite("*ModelNameID: 3\r\n*modelname: x\r\n"),
            "*ModelNameID: 3\r\n*modelname: x\r\n");
}

TEST_F(LabelGpdRewrite, LongLinesAreHandledIn254BytePieces) {
  // 300 bytes of comment, then a key that starts in the second piece, then the line end.
  const std::string head(300, 'x');
  const std::string longLine = "*%" + head + " *ModelName: \"A\"\r\n";
  const std::string out = Rewrite(longLine + "*Next: 1\r\n");
  // First piece (254 bytes) kept, the rest of the line is a piece holding the key.
  EXPECT_EQ(out, longLine.substr(0, 254) + "*ModelName:\"KTL-300L (3inch)\"\r\n*Next: 1\r\n");

  // A long line without keys comes through byte for byte, zero bytes included.
  std::string plain(600, 'a');
  plain[100] = '\0';
  plain += "\r\n";
  EXPECT_EQ(Rewrite(plain), plain);

  // A key split across the piece boundary is not seen in either piece.
  std::string split = std::string(250, 'y') + "*ModelName: \"B\"\n";
  EXPECT_EQ(Rewrite(split), split);
}

TEST_F(LabelGpdRewrite, LineOfExactly254BytesIsOnePiece) {
  std::string line = "*ModelName: \"" + std::string(254 - 13 - 1, 'z') + "\n";
  ASSERT_EQ(line.size(), 254u);
  EXPECT_EQ(Rewrite(line + "*ModelName: q\n"),
            "*ModelName:\"KTL-300L (3inch)\"\r\n*ModelName:\"KTL-300L (3inch)\"\r\n");
  // One byte more: the line feed becomes a piece of its own and is kept.
  std::string longer = "*ModelName: \"" + std::string(254 - 13, 'z') + "\n";
  ASSERT_EQ(longer.size(), 255u);
  EXPECT_EQ(Rewrite(longer), "*ModelName:\"KTL-300L (3inch)\"\r\n\n");
}

TEST(LabelResourceFileName, ModelNameAndRes) {
  EXPECT_EQ(LabelResourceFileName("KTL-200L (2inch)"), "KTL-200L (2inch)RES.dll");
}
