// The output files of one run, replaced whole or not at all. Each output is
// written to a temporary file beside its target; commit() flushes and checks
// every one and only then renames each over its target. When any output
// fails, every temporary is removed and every old file is left as it was.
// A target that exists and is not a regular file (a device such as
// /dev/stdout or /dev/full, a pipe) cannot be replaced: it is written
// directly, and its errors are reported all the same.
#pragma once

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hostio {

// Its message is one line for the user naming the file and the reason.
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class OutputSet {
 public:
  OutputSet();
  ~OutputSet();  // removes the temporaries of a set not committed
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Names an output before anything is drawn. Throws OutputError when it
  // names the same file as an earlier output (`option` says which, as in
  // "--svg"), names a folder, or lies in a folder that does not exist.
  void claim(const std::string& path, const std::string& option);

  // The stream to write the claimed output into: the temporary file is made
  // now. Throws OutputError when it cannot be made.
  std::ostream& open(const std::string& path);

  // Flushes and checks every opened output, then renames each over its
  // target. Throws OutputError naming the first file that failed and why;
  // the temporaries are removed then.
  void commit();

  // Removes the temporaries; the targets stay as they were.
  void discard();

 private:
  struct Output;
  std::vector<std::unique_ptr<Output>> outputs_;
};

}  // namespace hostio
