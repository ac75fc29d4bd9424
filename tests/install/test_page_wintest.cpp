// The driver test page under Wine. Wine prints every queue through its PostScript driver and
// hands the job to the port; a COM port can be sent to a host file, in which the test reads the
// document name and what was drawn where.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "install/test_page.h"
#include "install/test_page_win.h"
#include "tests/install/wine_bed_win.h"

using namespace installbed;

namespace {

struct TextRun {
  int x, y;
  std::string text;
};

// The texts of a Wine PostScript page: each run starts at "x y moveto" and shows one glyph per
// character by name (the font's hyphen is its soft-hyphen glyph, uni00AD).
std::vector<TextRun> TextRuns(const std::string& postscript) {
  static const std::map<std::string, char> kNames = {
      {"uni00A0", ' '}, {"space", ' '}, {"period", '.'},    {"hyphen", '-'},     {"uni00AD", '-'},
      {"colon", ':'},   {"comma", ','}, {"parenleft", '('}, {"parenright", ')'}, {"zero", '0'},
      {"one", '1'},     {"two", '2'},   {"three", '3'},     {"four", '4'},       {"five", '5'},
      {"six", '6'},     {"seven", '7'}, {"eight", '8'},     {"nine", '9'},       {"asterisk", '*'},
  };
  std::vector<TextRun> runs;
  std::istringstream lines(postscript);
  std::smatch m;
  const std::regex moveto("^(-?\\d+) (-?\\d+) moveto$"), glyph("^/(\\S+) glyphshow$");
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_match(line, m, moveto)) {
      runs.push_back({std::stoi(m[1]), std::stoi(m[2]), ""});
    } else if (std::regex_match(line, m, glyph) && !runs.empty()) {
      const std::string name = m[1];
      auto known = kNames.find(name);
      runs.back().text += known != kNames.end() ? known->second : name.size() == 1 ? name[0] : '?';
    }
  }
  return runs;
}

const TextRun* RunAt(const std::vector<TextRun>& runs, int x, const std::string& text) {
  for (const auto& r : runs)
    if (r.x == x && r.text == text) return &r;
  return nullptr;
}

}  // namespace

TEST(TestPageUnderWine, GoesThroughTheNewQueueWithItsNameAndTime) {
  RemoveModelQueuesAndDrivers();
  ToolFolder tool(L"testpage");
  tool.AddWholePackage();
  ChildRun first = tool.Run({{0, 0, false, "COM7:"}, {0, 0, false, "COM7:"}});
  ASSERT_TRUE(first.finished);
  ASSERT_EQ(first.steps.size(), 2u);
  const std::wstring queue = first.steps[1].printerName;
  ASSERT_EQ(queue, L"TPR-80C (copy 1)");

  // Jobs for COM7: go to a file of the build tree.
  const std::string unixFile = std::string(BINARY_DIR_UNIX) + "/install-test-page.ps";
  const std::wstring file = FromUnix(unixFile.c_str());
  DeleteFileW(file.c_str());
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  const std::wstring target = classlib::AnsiToWide(unixFile);
  RegSetValueExW(key, L"COM7:", 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()),
                 static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);

  std::vector<BYTE> bits(40 * 87, 0xAA);  // 308 pixels wide, rows of 40 bytes (word-aligned)
  HBITMAP logo = CreateBitmap(308, 87, 1, 1, bits.data());
  const wchar_t* text = L"               .  \r\n\r\nCongratulations\r\n\r\nPrinter Name:\r\n";
  SYSTEMTIME before = {};
  GetLocalTime(&before);
  install::PrintDriverTestPage(queue, logo, text);
  DeleteObject(logo);

  std::string page;
  for (int i = 0; i < 100 && (page = ReadBytes(file)).find("%%EOF") == std::string::npos; ++i)
    Sleep(50);
  DeleteFileW(file.c_str());
  ASSERT_NE(page.find("%%EOF"), std::string::npos) << "no job reached the port";
  // The job bears the queue name as document name.
  EXPECT_NE(page.find("\n%%Title: TPR-80C (copy 1)\n"), std::string::npos);
  EXPECT_NE(page.find("\n%%Pages: 1\n"), std::string::npos);
  // The picture at 30,20 at its own size.
  EXPECT_NE(page.find("\n30 20 translate\n308 87 scale\n"), std::string::npos);

  // Texts: the page text from x 10, the queue name at x 10, the time stamp at x -20. Wine moves
  // to the top of each line's background first, then to its baseline below.
  std::vector<TextRun> runs = TextRuns(page);
  const TextRun* body = RunAt(runs, 10, "Congratulations");
  const TextRun* name = RunAt(runs, 10, "TPR-80C (copy 1)");
  ASSERT_NE(body, nullptr);
  ASSERT_NE(name, nullptr);
  const TextRun* stamp = nullptr;
  for (const auto& r : runs)
    if (r.x == -20 && !r.text.empty()) stamp = &r;
  ASSERT_NE(stamp, nullptr);
  EXPECT_TRUE(
      std::regex_match(stamp->text, std::regex("  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")))
      << stamp->text;
  EXPECT_EQ(stamp->text.substr(0, 13),
            classlib::WideToAnsi(
                install::TestPageTimeStamp({before.wYear, before.wMonth, before.wDay, 0, 0, 0}))
                .substr(0, 13));
  EXPECT_LT(body->y, name->y);
  EXPECT_LT(name->y, stamp->y);
  RemoveModelQueuesAndDrivers();
}

TEST(TestPageUnderWine, AQueueThatDoesNotExistPrintsNothingAndReturns) {
  HBITMAP logo = CreateBitmap(308, 87, 1, 1, nullptr);
  install::PrintDriverTestPage(L"No Such Queue", logo, L"text");
  DeleteObject(logo);
  SUCCEED();
}
