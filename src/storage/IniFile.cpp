#include "storage/IniFile.h"

#include <limits>

#include "platform/Text.h"

namespace wrenfold {
namespace {

// Blanks as the profile functions see them; Ctrl-Z is an old end-of-file mark.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names and values end at a NUL, as the C strings the profile functions hand out do.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

bool IsQuote(char c) { return c == '"' || c == '\''; }

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  doc.sections_.push_back({});
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    doc.byteOrderMark_ = true;
    text.remove_prefix(3);
  }

  std::size_t pos = 0;
  while (pos < text.size()) {
    // A line ends at LF; a text without any further LF is split at CR instead.
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.find('\r', pos);
    const auto lineEnd = end == std::string_view::npos ? text.size() : end;
    auto raw = text.substr(pos, lineEnd - pos);
    // The CR of a CR LF belongs to the line's end; it is written back as such.
    if (end != std::string_view::npos && text[end] == '\n' && !raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const auto line = Trim(raw);
    pos = end == std::string_view::npos ? text.size() : end + 1;

    // Lines keep their own text, blanks included: dropping them on writing could change how the
    // file reads (a byte order mark behind leading blanks would become the file's own).
    if (line.empty()) {
      doc.sections_.back().lines.push_back({std::string(raw), {}, 0, 0, false, false});
      continue;
    }
    if (line.front() == '[') {
      if (const auto close = line.rfind(']'); close != std::string_view::npos && close > 0) {
        doc.AddSection(std::string(Trim(line.substr(1, close - 1))), std::string(raw));
        continue;
      }
    }
    Line entry;
    entry.raw = raw;
    entry.text = line;
    entry.isKey = true;
    if (const auto equals = line.find('='); equals != std::string_view::npos) {
      entry.hasValue = true;
      entry.keyLength = static_cast<std::uint32_t>(Trim(line.substr(0, equals)).size());
      const auto value = Trim(line.substr(equals + 1));
      entry.valueStart = static_cast<std::uint32_t>(line.size() - value.size());
    } else {
      entry.keyLength = static_cast<std::uint32_t>(line.size());
      entry.valueStart = entry.keyLength;
    }
    doc.sections_.back().lines.push_back(std::move(entry));
  }
  return doc;
}

void IniDocument::AddSection(std::string name, std::string header) {
  firstSection_.try_emplace(AsciiLowerCase(UpToNul(name)), sections_.size());
  sections_.push_back({std::move(name), std::move(header), {}});
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  const auto found = firstSection_.find(AsciiLowerCase(name));
  return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::size_t> IniDocument::FindKey(const Section& section, std::string_view key) {
  for (std::size_t i = 0; i < section.lines.size(); ++i) {
    const auto& line = section.lines[i];
    if (line.isKey && EqualsIgnoringAsciiCase(UpToNul(std::string_view(line.text).substr(0, line.keyLength)), key)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::ReadString(std::string_view section, std::string_view key) const {
  const auto* found = FindSection(section);
  const auto at = found ? FindKey(*found, key) : std::nullopt;
  if (!at || !found->lines[*at].hasValue) return std::nullopt;
  const auto* line = &found->lines[*at];
  auto value = UpToNul(std::string_view(line->text).substr(line->valueStart));
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

bool IniDocument::SectionHasKeys(std::string_view section) const {
  const auto* found = FindSection(section);
  if (!found) return false;
  for (const auto& line : found->lines) {
    if (line.isKey) return true;
  }
  return false;
}

void IniDocument::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string stored(value);
  for (char& c : stored) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  if (NeedsQuotes(stored)) stored = '"' + stored + '"';

  if (!FindSection(section)) AddSection(std::string(section), "[" + std::string(section) + "]");
  auto& target = sections_[firstSection_.at(AsciiLowerCase(section))];

  Line entry;
  entry.isKey = true;
  entry.hasValue = true;
  if (const auto at = FindKey(target, key)) {
    auto* existing = &target.lines[*at];
    // Keep the key's spelling as the file has it.
    entry.text = existing->text.substr(0, existing->keyLength);
    entry.keyLength = existing->keyLength;
    entry.text += '=';
    entry.valueStart = static_cast<std::uint32_t>(entry.text.size());
    entry.text += stored;
    entry.raw = entry.text;
    *existing = std::move(entry);
    return;
  }
  entry.text = std::string(key) + '=';
  entry.keyLength = static_cast<std::uint32_t>(key.size());
  entry.valueStart = static_cast<std::uint32_t>(entry.text.size());
  entry.text += stored;
  entry.raw = entry.text;
  // After the section's last non-blank line, so that blank lines stay between sections.
  auto at = target.lines.end();
  while (at != target.lines.begin() && std::prev(at)->text.empty()) --at;
  target.lines.insert(at, std::move(entry));
}

std::string IniDocument::Serialize() const {
  std::string out = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
  for (const auto& section : sections_) {
    if (!section.header.empty()) out.append(section.header).append("\r\n");
    for (const auto& line : section.lines) out.append(line.raw).append("\r\n");
  }
  return out;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  // Hexadecimal covers all 32 bits (0xFFFFFFFF is -1); decimal stays within the signed range.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t magnitude = 0;
  for (const char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  const auto bits = static_cast<std::uint32_t>(negative ? (0 - magnitude) : magnitude);
  return static_cast<std::int32_t>(bits);
}

}  // namespace wrenfold
