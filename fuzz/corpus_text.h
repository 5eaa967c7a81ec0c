// The seed corpus as text: one input per line, its name, a blank and its
// bytes in hex. The corpus folder holds such files (*.txt); the replay test
// reads them, and spiral_make_corpus unpacks them into one file per input
// for libFuzzer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

struct CorpusInput {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

std::string corpusLine(const std::string& name, const std::vector<std::uint8_t>& bytes);

// Every input of the folder's *.txt files, files in name order and lines in
// file order. Throws std::runtime_error naming the file and line of a
// malformed line.
std::vector<CorpusInput> readCorpus(const std::filesystem::path& folder);

}  // namespace fuzz
