#include "link/Link.h"

namespace q5::link {
namespace {

// Every reply of the unit starts with "C". Anything else is line noise or the tail of an
// earlier answer: taken as no reply, so the retry asks again instead of passing the
// noise on as a value.
bool isReply(const std::string& r) { return !r.empty() && r[0] == 'C'; }

std::string line(char code, std::string_view text) {
  std::string s;
  s.reserve(text.size() + 2);
  s += code;
  s += text;
  s += '\r';
  return s;
}

template <typename Attempt>
std::string retrying(int retry, Attempt attempt) {
  std::string result;
  for (int n = 0; n <= retry; ++n) {
    result = TrimSpaces(attempt());
    if (!result.empty()) break;
  }
  return result;
}

}  // namespace

std::string Link::readItemStep(std::string_view item, std::string_view logPrefix) {
  std::string r = ex_.ComCommand(line('I', item));
  if (!isReply(r)) return {};
  if (r == "CNG") {
    countUp(readErrors_);
    errorLog_ = std::string(logPrefix) + "I" + std::string(item);
    return "CNG";
  }
  if (r == "CNU") return "NEEDLESS";
  return r.substr(1);
}

std::string Link::writeItemSteps(std::string_view item, std::string_view data,
                                 std::string_view logPrefix) {
  std::string r = ex_.ComCommand(line('I', item));
  if (!isReply(r) || r == "CNU" || r == "CNG") return {};
  r = ex_.ComCommand(line('D', data));
  if (!isReply(r) || r == "CNU" || r == "CNG") {
    countUp(writeErrors_);
    errorLog_ = std::string(logPrefix) + "I" + std::string(item) + " D" + std::string(data);
    return {};
  }
  return r.substr(1);
}

std::string Link::GroupItemRead(std::string_view group, std::string_view item) {
  if (ex_.ComCommand(line('G', group)) != "COK") return {};
  return readItemStep(item, "G" + std::string(group) + " ");
}

std::string Link::ItemRead(std::string_view item) { return readItemStep(item, ""); }

std::string Link::GroupItemWrite(std::string_view group, std::string_view item,
                                 std::string_view data) {
  if (ex_.ComCommand(line('G', group)) != "COK") return {};
  return writeItemSteps(item, data, "G" + std::string(group) + " ");
}

std::string Link::ItemWrite(std::string_view item, std::string_view data) {
  return writeItemSteps(item, data, "");
}

std::string Link::GroupItemReadRetry(int retry, std::string_view group, std::string_view item) {
  return retrying(retry, [&] { return GroupItemRead(group, item); });
}

std::string Link::ItemReadRetry(int retry, std::string_view item) {
  return retrying(retry, [&] { return ItemRead(item); });
}

std::string Link::GroupItemWriteRetry(int retry, std::string_view group, std::string_view item,
                                      std::string_view data) {
  return retrying(retry, [&] { return GroupItemWrite(group, item, data); });
}

std::string Link::ItemWriteRetry(int retry, std::string_view item, std::string_view data) {
  return retrying(retry, [&] { return ItemWrite(item, data); });
}

}  // namespace q5::link
