// The sample driver package beside the tool holds every file that the registered drivers name,
// once staging has done its work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "install/label_files.h"
#include "install/model_table.h"
#include "install/registration.h"
#include "install/staging.h"

using namespace install;
namespace fs = std::filesystem;

namespace {

// The package lies at the root of the source tree, two levels above this file.
const fs::path kPackage = fs::path(__FILE__).parent_path().parent_path().parent_path() / "package";

std::string Narrow(const std::wstring& w) { return fs::path(w).string(); }

// Windows looks file names up without regard to letter case.
std::wstring Folded(std::wstring name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return name;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The names that StageDriverPackage gives the entries of a package folder.
std::set<std::wstring> StagedNames(const fs::path& folder, bool labelKind,
                                   const std::wstring& printerName) {
  std::set<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    StageStep step = PlanStagingEntry(entry.path().filename().wstring(), entry.is_directory(),
                                      labelKind, printerName);
    if (step.action != StageAction::Skip) names.insert(Folded(step.targetName));
  }
  return names;
}

std::vector<std::wstring> NamedByDriver(const DriverDescription& d) {
  std::vector<std::wstring> names = {d.driverPath, d.dataFile, d.configFile, d.helpFile};
  names.insert(names.end(), d.dependentFiles.begin(), d.dependentFiles.end());
  return names;
}

}  // namespace

TEST(SamplePackage, ReceiptDriversFindEveryFileTheyName) {
  for (const wchar_t* env : {kEnvironmentX64, kEnvironmentX86}) {
    const fs::path folder = kPackage / Narrow(env);
    ASSERT_TRUE(fs::is_directory(folder / "RES")) << folder;
    for (int model = 0; model < kFirstLabelModel; ++model) {
      SCOPED_TRACE(std::wstring(env) + L" " + kModelTable[model].name);
      std::set<std::wstring> staged = StagedNames(folder, false, kModelTable[model].name);
      for (const wchar_t* own : {kModelTable[model].resourceFile, kModelTable[model].gpdFile}) {
        EXPECT_TRUE(fs::is_regular_file(folder / "RES" / Narrow(own))) << Narrow(own);
        staged.insert(Folded(own));
      }
      for (const auto& name : NamedByDriver(DescribeDriver(model, InstallWay::Receipt, env, L"")))
        EXPECT_TRUE(staged.count(Folded(name))) << Narrow(name);
    }
  }
}

TEST(SamplePackage, LabelDriversFindEveryFileTheyName) {
  for (const wchar_t* env : {kEnvironmentX64, kEnvironmentX86}) {
    const fs::path folder = kPackage / Narrow(kLabelTemplateName) / Narrow(env);
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    for (int model = kFirstLabelModel; model <= 8; ++model) {
      const std::wstring name = kModelTable[model].name;
      SCOPED_TRACE(std::wstring(env) + L" " + name);
      std::set<std::wstring> staged = StagedNames(folder, true, name);
      for (const auto& file : NamedByDriver(DescribeDriver(model, InstallWay::Label, env, name)))
        EXPECT_TRUE(staged.count(Folded(file))) << Narrow(file);
    }
  }
}

TEST(SamplePackage, LabelGpdHasTheThreeKeysAndALongLine) {
  for (const wchar_t* env : {kEnvironmentX64, kEnvironmentX86}) {
    SCOPED_TRACE(env);
    const std::string gpd =
        ReadFile(kPackage / Narrow(kLabelTemplateName) / Narrow(env) / "KTL-400L (4inch).gpd");
    EXPECT_NE(gpd.find("\r\n*GPDFileName:\"KTL-400L (4inch).gpd\"\r\n"), std::string::npos);
    EXPECT_NE(gpd.find("\r\n*ModelName: \"KTL-400L (4inch)\"\r\n"), std::string::npos);
    EXPECT_NE(gpd.find("\r\n*ResourceDLL:\"KTL-400L (4inch)RES.dll\"\r\n"), std::string::npos);
    std::istringstream lines(gpd);
    size_t longest = 0;
    for (std::string line; std::getline(lines, line);) longest = std::max(longest, line.size());
    EXPECT_GT(longest, kGpdPieceBytes);

    // Rewritten for the 2-inch model, only the three key lines differ.
    std::string expected = gpd;
    const std::pair<std::string, std::string> keyLines[] = {
        {"*GPDFileName:\"KTL-400L (4inch).gpd\"", "*GPDFileName:\"KTL-200L (2inch).gpd\""},
        {"*ModelName: \"KTL-400L (4inch)\"", "*ModelName:\"KTL-200L (2inch)\""},
        {"*ResourceDLL:\"KTL-400L (4inch)RES.dll\"", "*ResourceDLL:\"KTL-200L (2inch)RES.dll\""},
    };
    for (const auto& [from, to] : keyLines) expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(RewriteLabelGpd(gpd, "KTL-200L (2inch).gpd", "KTL-200L (2inch)"), expected);
  }
}

TEST(SamplePackage, FaqDocumentIsAPdf) {
  const std::string pdf = ReadFile(kPackage / "Resource" / "KQDR512 FAQ 1.01.pdf");
  ASSERT_GT(pdf.size(), 100u);
  EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.4");
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
  // startxref points at the cross-reference table.
  size_t at = pdf.rfind("startxref\n");
  ASSERT_NE(at, std::string::npos);
  size_t xref = std::stoul(pdf.substr(at + 10));
  EXPECT_EQ(pdf.compare(xref, 4, "xref"), 0);
}
