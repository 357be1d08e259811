#include "base/po_file.h"

#include <optional>

namespace {

// One entry as the lines give it; `broken` when any of its lines is not PO.
struct Entry {
  std::string id;
  std::string str;
  std::string* open = nullptr;  // the string a continuation line adds to
  bool fuzzy = false;
  bool plural = false;
  bool context = false;
  bool broken = false;
  bool started = false;
};

std::optional<char> Unescaped(char c) {
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case '"': return '"';
    case '\\': return '\\';
    default: return std::nullopt;
  }
}

// A quoted C string alone on the rest of a line, escapes resolved.
std::optional<std::string> QuotedString(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return std::nullopt;
  std::string out;
  for (size_t i = 1; i + 1 < s.size(); ++i) {
    if (s[i] == '"') return std::nullopt;
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (i + 2 >= s.size()) return std::nullopt;
    const std::optional<char> c = Unescaped(s[++i]);
    if (!c) return std::nullopt;
    out += *c;
  }
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

void Keep(Entry& e, Translations& out) {
  if (e.started && !e.broken && !e.fuzzy && !e.plural && !e.context && !e.id.empty() && !e.str.empty())
    out.emplace(e.id, e.str);
  e = Entry{};
}

// A keyword line: which string it opens, and its first piece.
void ReadKeyword(std::string_view line, Entry& e, Translations& out) {
  const size_t space = line.find_first_of(" \t");
  const std::string_view word = line.substr(0, space);
  const std::optional<std::string> value =
      space == std::string_view::npos ? std::nullopt : QuotedString(line.substr(space));
  if (word == "msgid" || word == "msgctxt") {
    if (e.started && (e.open == &e.str || e.plural)) Keep(e, out);
    if (word == "msgid" && e.open == &e.id) e.broken = true;
    e.started = true;
    e.context = e.context || word == "msgctxt";
    e.open = word == "msgid" ? &e.id : nullptr;
  } else if (word == "msgstr" && e.started) {
    e.open = &e.str;
  } else if (StartsWith(word, "msgid_plural") || StartsWith(word, "msgstr[")) {
    e.plural = true;
    e.open = nullptr;
  } else {
    e.broken = true;
    e.open = nullptr;
  }
  if (!value) e.broken = true;
  if (e.open && value) *e.open += *value;
}

void ReadLine(std::string_view line, Entry& e, Translations& out) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find_first_not_of(" \t") == std::string_view::npos) return Keep(e, out);
  if (line.front() == '#') {
    if (e.started && e.open == &e.str) Keep(e, out);
    if (StartsWith(line, "#,") && line.find("fuzzy") != std::string_view::npos) e.fuzzy = true;
    return;
  }
  if (line.front() != '"') return ReadKeyword(line, e, out);
  const std::optional<std::string> piece = QuotedString(line);
  if (!piece) e.broken = true;
  else if (e.open) *e.open += *piece;
}

}  // namespace

Translations ReadPoFile(std::string_view text) {
  Translations out;
  Entry e;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    ReadLine(text.substr(0, end), e, out);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  Keep(e, out);
  return out;
}
