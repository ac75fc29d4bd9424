#include "support/windows_version_win.h"

#include <windows.h>

#include <vector>

namespace testsupport {
namespace {

const wchar_t kCurrentVersion[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const wchar_t kServicePack[] = L"System\\CurrentControlSet\\Control\\Windows";

const wchar_t* const kWineNames[] = {L"win2k", L"winxp", L"win2003", L"vista",
                                     L"win7",  L"win8",  L"win81",   L"win10"};

// One registry value as it was before the override touched it.
struct SavedValue {
  HKEY root;
  std::wstring key;
  std::wstring name;
  REGSAM view;
  bool existed = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

HKEY OpenKey(HKEY root, const std::wstring& key, REGSAM view) {
  HKEY h = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | view,
                      nullptr, &h, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return h;
}

SavedValue Snapshot(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view) {
  SavedValue saved;
  saved.root = root;
  saved.key = key;
  saved.name = name;
  saved.view = view;
  if (HKEY h = OpenKey(root, key, view)) {
    DWORD size = 0;
    if (RegQueryValueExW(h, name.c_str(), nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
      saved.data.resize(size);
      saved.existed = RegQueryValueExW(h, name.c_str(), nullptr, &saved.type,
                                       saved.data.empty() ? nullptr : saved.data.data(),
                                       &size) == ERROR_SUCCESS;
    }
    RegCloseKey(h);
  }
  return saved;
}

// Writes (or with `remove`, deletes) a value; `type` REG_SZ takes `text`, REG_DWORD `number`.
bool Put(const SavedValue& where, bool remove, DWORD type, const std::wstring& text, DWORD number) {
  HKEY h = OpenKey(where.root, where.key, where.view);
  if (!h) return false;
  LONG rc;
  if (remove) {
    rc = RegDeleteValueW(h, where.name.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
  } else if (type == REG_DWORD) {
    rc = RegSetValueExW(h, where.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                        sizeof number);
  } else {
    rc = RegSetValueExW(h, where.name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

bool PutBack(const SavedValue& saved) {
  if (!saved.existed) return Put(saved, true, 0, L"", 0);
  HKEY h = OpenKey(saved.root, saved.key, saved.view);
  if (!h) return false;
  LONG rc = RegSetValueExW(h, saved.name.c_str(), 0, saved.type,
                           saved.data.empty() ? nullptr : saved.data.data(),
                           static_cast<DWORD>(saved.data.size()));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

}  // namespace

struct WindowsVersionOverride::Saved {
  std::vector<SavedValue> values;  // in the order changed; restored backwards

  bool Change(HKEY root, const std::wstring& key, const std::wstring& name, REGSAM view,
              bool remove, DWORD type, const std::wstring& text, DWORD number) {
    values.push_back(Snapshot(root, key, name, view));
    return Put(values.back(), remove, type, text, number);
  }
};

WindowsVersionOverride::WindowsVersionOverride(WindowsVersionOverride&& other) noexcept
    : ok_(other.ok_), saved_(other.saved_) {
  other.saved_ = nullptr;
  other.ok_ = false;
}

WindowsVersionOverride& WindowsVersionOverride::operator=(WindowsVersionOverride&& other) noexcept {
  if (this != &other) {
    Restore();
    ok_ = other.ok_;
    saved_ = other.saved_;
    other.saved_ = nullptr;
    other.ok_ = false;
  }
  return *this;
}

WindowsVersionOverride::~WindowsVersionOverride() { Restore(); }

void WindowsVersionOverride::Restore() {
  if (!saved_) return;
  for (auto it = saved_->values.rbegin(); it != saved_->values.rend(); ++it) PutBack(*it);
  delete saved_;
  saved_ = nullptr;
}

WindowsVersionOverride SetWindowsVersion(const std::wstring& version, const std::wstring& exeName) {
  WindowsVersionOverride result;
  if (version.empty()) {
    result.ok_ = true;
    return result;
  }
  const std::wstring appKey = L"Software\\Wine\\AppDefaults\\" + exeName;
  result.saved_ = new WindowsVersionOverride::Saved;
  WindowsVersionOverride::Saved& s = *result.saved_;

  for (const wchar_t* name : kWineNames) {
    if (version == name) {
      result.ok_ = s.Change(HKEY_CURRENT_USER, appKey, L"Version", 0, false, REG_SZ, version, 0);
      return result;
    }
  }
  if (version != L"win11") return result;

  bool ok = s.Change(HKEY_CURRENT_USER, appKey, L"Version", 0, true, 0, L"", 0);
  // Both registry views: a 32-bit program in a 64-bit prefix reads its own.
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    ok =
        s.Change(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentVersion", view, false, REG_SZ,
                 L"10.0", 0) &&
        s.Change(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentMajorVersionNumber", view, false,
                 REG_DWORD, L"", 10) &&
        s.Change(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentMinorVersionNumber", view, false,
                 REG_DWORD, L"", 0) &&
        s.Change(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuildNumber", view, false, REG_SZ,
                 L"22000", 0) &&
        s.Change(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CurrentBuild", view, false, REG_SZ,
                 L"22000", 0) &&
        s.Change(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CSDVersion", view, false, REG_SZ, L"", 0) &&
        s.Change(HKEY_LOCAL_MACHINE, kServicePack, L"CSDVersion", view, false, REG_DWORD, L"", 0) &&
        ok;
  }
  result.ok_ = ok;
  return result;
}

}  // namespace testsupport
