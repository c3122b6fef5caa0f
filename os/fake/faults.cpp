#include "os/fake/faults.h"

#include <cstdio>

namespace os::fake {
namespace {

std::mutex reporterMutex;

void WriteToStandardError(const std::vector<std::string>& unstruck) {
  for (const auto& fault : unstruck) {
    std::fprintf(stderr, "fault set but never struck: %s\n", fault.c_str());
  }
}

Faults::UnstruckReporter& Reporter() {
  static Faults::UnstruckReporter reporter = WriteToStandardError;
  return reporter;
}

std::string Name(const std::pair<std::string, std::string>& key) {
  return key.first + "." + key.second;
}

}  // namespace

void Faults::SetUnstruckReporter(UnstruckReporter reporter) {
  std::lock_guard lock(reporterMutex);
  Reporter() = reporter ? std::move(reporter) : WriteToStandardError;
}

Faults::~Faults() {
  const auto unstruck = Unstruck();
  if (unstruck.empty()) return;
  std::lock_guard lock(reporterMutex);
  Reporter()(unstruck);
}

void Faults::Fail(std::string_view area, std::string_view call, DWORD code, int times,
                  int skip) {
  std::lock_guard lock(mutex_);
  Key key{std::string(area), std::string(call)};
  auto it = armed_.find(key);
  // A fault replaced before it struck still counts as never struck.
  if (it != armed_.end() && !it->second.struck) spentUnstruck_.push_back(Name(key));
  armed_[std::move(key)] = Armed{code, times, skip};
}

void Faults::Clear() {
  std::lock_guard lock(mutex_);
  armed_.clear();
  spentUnstruck_.clear();
}

std::optional<DWORD> Faults::Take(std::string_view area, std::string_view call) {
  std::lock_guard lock(mutex_);
  auto it = armed_.find(Key{std::string(area), std::string(call)});
  if (it == armed_.end() || it->second.remaining == 0) return std::nullopt;
  if (it->second.skip > 0) {
    --it->second.skip;
    return std::nullopt;
  }
  it->second.struck = true;
  if (it->second.remaining != kAlways) --it->second.remaining;
  return it->second.code;
}

std::vector<std::string> Faults::Unstruck() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> unstruck = spentUnstruck_;
  for (const auto& [key, armed] : armed_) {
    if (!armed.struck) unstruck.push_back(Name(key));
  }
  return unstruck;
}

}  // namespace os::fake
