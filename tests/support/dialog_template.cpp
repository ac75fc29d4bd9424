#include "support/dialog_template.h"

namespace testsupport {
namespace {

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT

// Reads little-endian fields; any read past the end marks the whole parse as failed.
class Reader {
 public:
  explicit Reader(const std::string& data) : data_(data) {}

  bool ok() const { return ok_; }
  std::uint32_t Word() { return Take(2); }
  std::uint32_t Dword() { return Take(4); }
  int Short() { return static_cast<std::int16_t>(Take(2)); }
  void Align4() { pos_ = (pos_ + 3) & ~static_cast<size_t>(3); }
  void Skip(size_t n) {
    if (pos_ + n > data_.size()) ok_ = false;
    pos_ += n;
  }

  std::wstring Text() {
    std::wstring text;
    for (std::uint32_t c = Word(); ok_ && c != 0; c = Word()) text += static_cast<wchar_t>(c);
    return text;
  }
  // A name or ordinal field: 0 none, 0xFFFF and a number, else a text.
  std::wstring NameOrOrdinal(bool* isOrdinal = nullptr, std::uint32_t* ordinal = nullptr) {
    if (pos_ + 2 > data_.size()) {
      ok_ = false;
      return std::wstring();
    }
    const std::uint32_t first = Peek();
    if (first == 0) {
      Word();
      return std::wstring();
    }
    if (first == 0xFFFF) {
      Word();
      std::uint32_t n = Word();
      if (isOrdinal) *isOrdinal = true;
      if (ordinal) *ordinal = n;
      return L"#" + std::to_wstring(n);
    }
    return Text();
  }

 private:
  std::uint32_t Peek() const {
    return static_cast<unsigned char>(data_[pos_]) |
           (static_cast<unsigned char>(data_[pos_ + 1]) << 8);
  }
  std::uint32_t Take(int n) {
    if (pos_ + n > data_.size()) {
      ok_ = false;
      pos_ = data_.size();
      return 0;
    }
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
      v |= static_cast<std::uint32_t>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
    pos_ += n;
    return v;
  }

  const std::string& data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// The resource compiler writes predefined classes either as atoms or by name in any case;
// both come out as the names below.
const wchar_t* const kPredefined[] = {L"Button",  L"Edit",      L"Static",
                                      L"ListBox", L"ScrollBar", L"ComboBox"};

std::wstring Canonical(const std::wstring& name) {
  for (const wchar_t* p : kPredefined) {
    std::wstring known = p;
    if (known.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < known.size() && same; ++i) {
      wchar_t a = known[i], b = name[i];
      if (a >= L'a' && a <= L'z') a = static_cast<wchar_t>(a - 32);
      if (b >= L'a' && b <= L'z') b = static_cast<wchar_t>(b - 32);
      same = a == b;
    }
    if (same) return known;
  }
  return name;
}

std::wstring PredefinedClass(std::uint32_t atom) {
  if (atom >= 0x80 && atom <= 0x85) return kPredefined[atom - 0x80];
  return L"#" + std::to_wstring(atom);
}

}  // namespace

const DialogControl* DialogTemplate::Find(int id) const {
  for (const DialogControl& c : controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

bool ParseDialogTemplate(const std::string& data, DialogTemplate& out) {
  Reader r(data);
  DialogTemplate t;
  const std::uint32_t version = r.Word(), signature = r.Word();
  t.extended = version == 1 && signature == 0xFFFF;
  std::uint32_t count;
  if (t.extended) {
    r.Dword();  // help id
    t.exStyle = r.Dword();
    t.style = r.Dword();
  } else {
    t.style = version | (signature << 16);
    t.exStyle = r.Dword();
  }
  count = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  r.NameOrOrdinal();  // menu
  r.NameOrOrdinal();  // window class
  t.caption = r.Text();
  if (t.style & kSetFont) {
    t.pointSize = static_cast<int>(r.Word());
    if (t.extended) {
      r.Word();   // weight
      r.Skip(2);  // italic, character set
    }
    t.font = r.Text();
  }
  for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
    r.Align4();
    DialogControl c;
    if (t.extended) {
      r.Dword();  // help id
      c.exStyle = r.Dword();
      c.style = r.Dword();
    } else {
      c.style = r.Dword();
      c.exStyle = r.Dword();
    }
    c.x = r.Short();
    c.y = r.Short();
    c.cx = r.Short();
    c.cy = r.Short();
    c.id = t.extended ? static_cast<int>(r.Dword()) : static_cast<int>(r.Word());
    bool classIsAtom = false;
    std::uint32_t atom = 0;
    c.className = r.NameOrOrdinal(&classIsAtom, &atom);
    c.className = classIsAtom ? PredefinedClass(atom) : Canonical(c.className);
    c.text = r.NameOrOrdinal();
    r.Skip(r.Word());  // creation data
    t.controls.push_back(c);
  }
  if (!r.ok()) return false;
  out = t;
  return true;
}

}  // namespace testsupport
