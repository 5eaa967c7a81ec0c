// The host's random numbers: SplitMix64 from a seed, or a scripted list of
// values for tests that check the order of draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

class RandomService {
 public:
  // Seeded from the clock (clockSeed()).
  RandomService();
  // A seed from the clock, different from run to run.
  static std::uint64_t clockSeed();
  explicit RandomService(std::uint64_t seed);

  // Restarts SplitMix64 with its state at `seed` and ends any script.
  void seed(std::uint64_t seed);
  // The next draws return these values in order; after the last one the
  // SplitMix64 sequence continues. Resets the draw count.
  void script(std::vector<float> values);
  bool scripted() const { return scriptPos_ < script_.size(); }

  // A float32 in [0, 1): the next scripted value, or (z >> 40) * 2^-24 of
  // the next SplitMix64 output z.
  float next();
  // The next SplitMix64 output:
  //   state += 0x9E3779B97F4A7C15; z = state;
  //   z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
  //   z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
  //   z ^= z >> 31
  std::uint64_t nextRaw();

  // Values drawn through next() since construction, seed() or script().
  std::uint64_t drawCount() const { return draws_; }

 private:
  std::uint64_t state_ = 0;
  std::vector<float> script_;
  std::size_t scriptPos_ = 0;
  std::uint64_t draws_ = 0;
};

}  // namespace host
