#include "sim/SimFault.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace q5::sim {
namespace {

bool ParseCount(std::string_view text, long long& out) {
  if (text.empty()) return false;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && out >= 0;
}

std::vector<std::string_view> SplitColons(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t c = text.find(':', start);
    if (c == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, c - start));
    start = c + 1;
  }
}

bool LooksLikeTarget(std::string_view p) {
  return !p.empty() && (p.front() == '#' || p.front() == '=' || p.find('/') != p.npos);
}

bool Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return false;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeEscapes(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\' || i + 1 >= text.size()) {
      out += c;
      continue;
    }
    char n = text[++i];
    switch (n) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case 'x':
        if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
          out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
          i += 2;
        } else {
          out += "\\x";
        }
        break;
      default:
        out += '\\';
        out += n;
    }
  }
  return out;
}

std::string EncodeBytes(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\\') out += "\\\\";
    else if (c < 0x20 || c >= 0x7f) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<SimFault> ParseFault(std::string_view faultText, std::string* error) {
  SimFault f;
  // Trailing *TIMES and +SKIP, in either order.
  for (int round = 0; round < 2; ++round) {
    std::size_t p = faultText.find_last_of("*+");
    if (p == std::string_view::npos) break;
    long long n = 0;
    if (!ParseCount(faultText.substr(p + 1), n)) break;
    if (faultText[p] == '*') f.times = static_cast<int>(n);
    else f.skip = static_cast<int>(n);
    faultText = faultText.substr(0, p);
  }

  std::vector<std::string_view> parts = SplitColons(faultText);
  const std::string_view kind = parts[0];
  std::size_t next = 1;
  if (next < parts.size() && LooksLikeTarget(parts[next])) {
    std::string_view t = parts[next++];
    if (t.front() == '#') {
      long long n = 0;
      if (!ParseCount(t.substr(1), n) || n < 1) {
        Fail(error, "bad line number in \"" + std::string(t) + "\"");
        return std::nullopt;
      }
      f.target = SimFault::Target::LineNumber;
      f.lineNumber = static_cast<std::uint64_t>(n);
    } else if (t.front() == '=') {
      f.target = SimFault::Target::LineText;
      f.lineText = DecodeEscapes(t.substr(1));
    } else {
      std::size_t s1 = t.find('/');
      std::size_t s2 = t.find('/', s1 + 1);
      f.group = std::string(t.substr(0, s1));
      f.item = std::string(t.substr(s1 + 1, s2 == t.npos ? t.npos : s2 - s1 - 1));
      f.target = SimFault::Target::ItemLine;
      if (s2 != t.npos) {
        if (t.substr(s2 + 1) != "D") {
          Fail(error, "expected GG/II or GG/II/D, got \"" + std::string(t) + "\"");
          return std::nullopt;
        }
        f.target = SimFault::Target::DataLine;
      }
      if (f.group.empty() || f.item.empty()) {
        Fail(error, "empty group or item in \"" + std::string(t) + "\"");
        return std::nullopt;
      }
    }
  }
  std::vector<std::string_view> params(parts.begin() + static_cast<long>(next), parts.end());
  auto number = [&](std::size_t i, long long fallback, long long& out) {
    if (i >= params.size() || params[i].empty()) {
      out = fallback;
      return true;
    }
    return ParseCount(params[i], out);
  };
  auto tooMany = [&](std::size_t allowed) {
    if (params.size() <= allowed) return false;
    Fail(error, "too many parameters for \"" + std::string(kind) + "\"");
    return true;
  };

  long long n = 0, ms = 0;
  if (kind == "noreply" || kind == "cng" || kind == "cnu" || kind == "vanish") {
    f.kind = kind == "noreply" ? FaultKind::NoReply
             : kind == "cng"   ? FaultKind::Refuse
             : kind == "cnu"   ? FaultKind::NotUsed
                               : FaultKind::Vanish;
    if (tooMany(0)) return std::nullopt;
  } else if (kind == "nocr" || kind == "dup") {
    f.kind = kind == "nocr" ? FaultKind::NoCr : FaultKind::Duplicate;
    if (tooMany(0)) return std::nullopt;
  } else if (kind == "flood") {
    f.kind = FaultKind::Flood;
    if (tooMany(1) || !number(0, 65536, n) || n < 1 || n > (64 << 20)) {
      if (error && error->empty()) *error = "flood takes a number of bytes (1 to 64 Mi)";
      return std::nullopt;
    }
    f.chunkSize = static_cast<std::size_t>(n);
  } else if (kind == "late") {
    f.kind = FaultKind::Late;
    if (tooMany(1) || !number(0, 3500, ms)) {
      if (error && error->empty()) *error = "late takes one number of milliseconds";
      return std::nullopt;
    }
    f.delayUs = ms * 1000;
  } else if (kind == "chunks") {
    f.kind = FaultKind::Chunks;
    if (tooMany(2) || !number(0, 1, n) || !number(1, 2, ms) || n < 1) {
      if (error && error->empty()) *error = "chunks takes a size of at least 1 and a gap in ms";
      return std::nullopt;
    }
    f.chunkSize = static_cast<std::size_t>(n);
    f.delayUs = ms * 1000;
  } else if (kind == "garbage") {
    f.kind = FaultKind::Garbage;
    if (tooMany(1)) return std::nullopt;
    f.bytes = params.empty() || params[0].empty() ? std::string("~#~") : DecodeEscapes(params[0]);
  } else if (kind == "stale") {
    f.kind = FaultKind::Stale;
    if (tooMany(2) || !number(1, 1, ms)) {
      if (error && error->empty()) *error = "stale takes a text and a gap in ms";
      return std::nullopt;
    }
    f.bytes = params.empty() || params[0].empty() ? std::string("COK\r") : DecodeEscapes(params[0]);
    f.delayUs = ms * 1000;
  } else if (kind == "reply") {
    f.kind = FaultKind::Replace;
    if (tooMany(1) || params.empty()) {
      if (error && error->empty()) *error = "reply takes the reply text";
      return std::nullopt;
    }
    f.bytes = DecodeEscapes(params[0]);
  } else {
    Fail(error, "unknown fault \"" + std::string(kind) +
                    "\" (noreply, late, chunks, garbage, stale, cng, cnu, reply, vanish, flood, nocr, dup)");
    return std::nullopt;
  }
  return f;
}

std::string SimFault::describe() const {
  std::string s;
  switch (kind) {
    case FaultKind::NoReply: s = "noreply"; break;
    case FaultKind::Late: s = "late"; break;
    case FaultKind::Chunks: s = "chunks"; break;
    case FaultKind::Garbage: s = "garbage"; break;
    case FaultKind::Stale: s = "stale"; break;
    case FaultKind::Refuse: s = "cng"; break;
    case FaultKind::NotUsed: s = "cnu"; break;
    case FaultKind::Replace: s = "reply"; break;
    case FaultKind::Vanish: s = "vanish"; break;
    case FaultKind::Flood: s = "flood"; break;
    case FaultKind::NoCr: s = "nocr"; break;
    case FaultKind::Duplicate: s = "dup"; break;
  }
  switch (target) {
    case Target::AnyLine: break;
    case Target::ItemLine: s += ":" + group + "/" + item; break;
    case Target::DataLine: s += ":" + group + "/" + item + "/D"; break;
    case Target::LineNumber: s += ":#" + std::to_string(lineNumber); break;
    case Target::LineText: s += ":=" + EncodeBytes(lineText); break;
  }
  switch (kind) {
    case FaultKind::Late: s += ":" + std::to_string(delayUs / 1000); break;
    case FaultKind::Chunks:
      s += ":" + std::to_string(chunkSize) + ":" + std::to_string(delayUs / 1000);
      break;
    case FaultKind::Garbage:
    case FaultKind::Replace: s += ":" + EncodeBytes(bytes); break;
    case FaultKind::Stale: s += ":" + EncodeBytes(bytes) + ":" + std::to_string(delayUs / 1000); break;
    case FaultKind::Flood: s += ":" + std::to_string(chunkSize); break;
    default: break;
  }
  if (times >= 0) s += "*" + std::to_string(times);
  if (skip > 0) s += "+" + std::to_string(skip);
  return s;
}

}  // namespace q5::sim
