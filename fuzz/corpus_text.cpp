#include "fuzz/corpus_text.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace fuzz {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void readFile(const std::filesystem::path& file, std::vector<CorpusInput>& inputs) {
  std::ifstream in(file);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty()) continue;
    const std::size_t blank = line.find(' ');
    const std::size_t digits = blank == std::string::npos ? 0 : line.size() - blank - 1;
    CorpusInput input{line.substr(0, blank), {}};
    // A name is a file name when unpacked: no folder separators.
    bool sound = blank != std::string::npos && blank > 0 && digits % 2 == 0 &&
                 input.name.find('/') == std::string::npos && input.name != "." && input.name != "..";
    for (std::size_t i = blank + 1; sound && i < line.size(); i += 2) {
      const int high = hexDigit(line[i]), low = hexDigit(line[i + 1]);
      sound = high >= 0 && low >= 0;
      input.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (!sound) throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": not 'NAME HEX'");
    inputs.push_back(std::move(input));
  }
}

}  // namespace

std::string corpusLine(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string line = name + ' ';
  for (std::uint8_t b : bytes) {
    line += kDigits[b >> 4];
    line += kDigits[b & 15];
  }
  return line;
}

std::vector<CorpusInput> readCorpus(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<CorpusInput> inputs;
  for (const auto& file : files) readFile(file, inputs);
  return inputs;
}

}  // namespace fuzz
