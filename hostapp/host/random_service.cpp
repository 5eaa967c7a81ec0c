#include "hostapp/host/random_service.h"

#include <chrono>

namespace host {

std::uint64_t RandomService::clockSeed() {
  return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

RandomService::RandomService() : RandomService(clockSeed()) {}

RandomService::RandomService(std::uint64_t seed) { this->seed(seed); }

void RandomService::seed(std::uint64_t seed) {
  state_ = seed;
  script_.clear();
  scriptPos_ = 0;
  draws_ = 0;
}

void RandomService::script(std::vector<float> values) {
  script_ = std::move(values);
  scriptPos_ = 0;
  draws_ = 0;
}

std::uint64_t RandomService::nextRaw() {
  state_ += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

float RandomService::next() {
  ++draws_;
  if (scriptPos_ < script_.size()) return script_[scriptPos_++];
  // 24 bits fit a float32 mantissa, so the value is exact.
  return static_cast<float>(nextRaw() >> 40) * 0x1p-24f;
}

}  // namespace host
