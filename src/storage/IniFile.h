#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wrenfold {

// An INI text held in memory, read with the rules of the platform's profile-file functions and
// written back line for line:
//  - a line ends at LF (CR LF counts as one end); blanks around a line are dropped;
//  - "[name]" starts a section (the name ends at the last "]"); "key=value" is a key; a line without "=" is a key without value;
//  - section and key names compare without regard to (ASCII) case; the first match wins;
//  - a value loses its surrounding blanks, then one pair of enclosing quotes, and is cut to
//    2047 characters.
// Lines the program does not write to (comments, other sections, unknown keys) are kept as
// they stand.
class IniDocument {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  [[nodiscard]] static IniDocument Parse(std::string_view text);

  // The value of the first matching key of the first matching section, or nothing when either
  // is missing or the key has no "=".
  [[nodiscard]] std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // A section counts as present only when it holds at least one key.
  [[nodiscard]] bool SectionHasKeys(std::string_view section) const;

  // Sets a key, creating it at the end of its section, and the section at the end of the text,
  // when missing. The value is stored so that ReadString gives it back unchanged, line breaks
  // excepted: those become blanks, since they would otherwise start new lines.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // The whole text, every line ended by CR LF.
  [[nodiscard]] std::string Serialize() const;

 private:
  struct Line {
    std::string raw;              // the line as the file has it, written back unchanged
    std::string text;             // the line, blanks around it dropped (empty for a blank line)
    std::uint32_t keyLength = 0;  // name of a key line: text[0, keyLength)
    std::uint32_t valueStart = 0; // value of a key line: text[valueStart, end)
    bool isKey = false;
    bool hasValue = false;        // the key line has an "="
  };
  struct Section {
    std::string name;
    std::string header;           // the header line as the file has it; empty for the text before any header
    std::vector<Line> lines;
  };

  [[nodiscard]] const Section* FindSection(std::string_view name) const;
  [[nodiscard]] static std::optional<std::size_t> FindKey(const Section& section, std::string_view key);
  void AddSection(std::string name, std::string header);

  std::vector<Section> sections_;
  bool byteOrderMark_ = false;  // written back, so that the text reads the same after a write
  std::unordered_map<std::string, std::size_t> firstSection_;  // ASCII-lower-cased name -> index
};

// An integer as the program reads settings: optional sign, then decimal digits, or "0x"/"0X"
// and hexadecimal digits; nothing else, and within 32 bits. Anything else gives nothing.
[[nodiscard]] std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace wrenfold
