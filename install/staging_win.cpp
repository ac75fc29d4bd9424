#include "install/staging_win.h"

#include <windows.h>

#include <cstdio>

#include "classlib/ansi_text_win.h"
#include "install/driver_installer.h"
#include "install/label_files.h"
#include "install/staging.h"

namespace install {
namespace {

void ClearReadOnly(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

// Copies from read-only media carry the read-only attribute, which would make the next install
// fail to overwrite the copy and the clean-up fail to delete it: staged copies are made writable.
bool CopyOver(const std::wstring& source, const std::wstring& target) {
  ClearReadOnly(target);
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return false;
  ClearReadOnly(target);
  return true;
}

// The whole file, or false when it cannot be opened. Read-only, so that a package on read-only
// media can be installed.
bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  FILE* in = _wfopen(path.c_str(), L"rb");
  if (!in) return false;
  bytes.clear();
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.append(chunk, n);
  fclose(in);
  return true;
}

// Creates or truncates the file and writes the bytes; a file that cannot be created is skipped.
void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return;
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), out);
  fclose(out);
}

}  // namespace

bool CopyReceiptModelFiles(const std::wstring& programFolder, const std::wstring& environment,
                           const std::wstring& driverDirectory, int modelIndex) {
  bool copied = true;
  for (const FileCopy& copy :
       ReceiptModelCopies(programFolder, environment, driverDirectory, modelIndex))
    copied = CopyOver(copy.source, copy.target) && copied;
  return copied;
}

bool DriverInstaller::StageDriverPackage(const std::wstring& driverDirectory,
                                         const std::wstring& packageFolder) {
  const std::wstring pattern = SearchPattern(packageFolder);
  const std::wstring folder = pattern.substr(0, pattern.size() - 3);  // with its backslash
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;

  const std::string modelName = classlib::WideToAnsi(printerName);
  bool staged = true;
  do {
    const bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const StageStep step = PlanStagingEntry(entry.cFileName, isDirectory, labelKind, printerName);
    const std::wstring source = folder + entry.cFileName;
    const std::wstring target = PathIn(driverDirectory, step.targetName);
    switch (step.action) {
      case StageAction::Skip:
        break;
      case StageAction::Copy:
        staged = CopyOver(source, target);
        break;
      case StageAction::WriteIni:
        WriteWholeFile(target, LabelIniText(modelName));
        break;
      case StageAction::RewriteGpd: {
        // A package GPD that cannot be read leaves an empty target; neither is a staging error,
        // the driver registration reports the missing description.
        std::string gpd;
        bool read = ReadWholeFile(source, gpd);
        WriteWholeFile(target,
                       read ? RewriteLabelGpd(gpd, classlib::WideToAnsi(step.targetName), modelName)
                            : std::string());
        break;
      }
    }
  } while (staged && FindNextFileW(search, &entry));
  FindClose(search);
  return staged;
}

}  // namespace install
