// The output files of one run, replaced whole or not at all. Each output is
// written to a temporary file beside its target; commit() flushes and checks
// every one and only then renames each over its target. When any output
// fails, every temporary is removed and every old file is left as it was.
// A target that exists and is not a regular file (a device such as
// /dev/stdout or /dev/full, a pipe) cannot be replaced: it is written
// directly, and its errors are reported all the same.
//
// A temporary is named `.NAME.spiral-PID-RANDOM.tmp` after the process that
// makes it. It is removed when the process ends by a signal it can catch;
// one left by a process that was killed outright is removed by a later run
// on the same output once that process is gone and the file is a minute old.
// The replacement is a new file: it gets the target's permissions and, where
// the process may, its owner and group, but another hard link to the old
// file keeps the old bytes. The renames of one commit happen under an
// advisory lock (flock of `.NAME.lock` beside the first output, removed
// after), so runs on the same outputs at once never mix their files.
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

  // Names an output before anything is drawn. Throws OutputError when the
  // name is empty, names the same file as an earlier output (`option` says
  // which, as in "--svg"), names a folder, lies in a folder that does not
  // exist, is too long to leave room for its temporary's name, or when the
  // file or its folder may not be written. Removes the temporaries that dead
  // runs left beside it.
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

  // What a temporary's name adds to its target's name at most; a target's
  // name may be this much shorter than the folder's longest name.
  static constexpr std::size_t kTemporaryNameExtra = 32;

 private:
  struct Output;
  std::vector<std::unique_ptr<Output>> outputs_;
};

}  // namespace hostio
