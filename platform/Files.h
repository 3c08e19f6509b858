// Files as the tools write and read them. A write goes whole or not at all:
// into a new temporary file beside the target (its name short, so that any
// legal target name can be written), every write, the flush to disk and the
// close checked, then renamed over the target; a target that exists must be a
// regular file (a link is followed), so that a FIFO, a socket, a device or a
// folder is never replaced. A read opens without blocking and takes only a
// regular file.
//
//   WriteFileAtomically("curves.csv", text);   // EFileError "curves.csv: ..." on failure
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zp {

// Text into FileName as above. Raises EFileError naming FileName: "cannot write
// the file (not a regular file)", "... (No space left on device)", "cannot create
// a temporary file next to it (...)", "cannot replace the file (...)".
void WriteFileAtomically(const std::string& FileName, std::string_view Text);

// The whole of FileName, at most MaxBytes (EFileError "the file is larger than
// MaxBytes bytes, the limit" beyond it). Raises EFileError "cannot open the file
// (...)", "cannot read the file (not a regular file)", "cannot read the file (...)".
[[nodiscard]] std::string ReadRegularFile(const std::string& FileName, size_t MaxBytes, const std::string& Limit);

}  // namespace zp
