#pragma once
// What an operation ended as, and what a batch of copies ended as; the window side and the
// operations both read these, so they stand apart from either.

namespace vh {

// A run: done; a halt or failures (named in the log); cancelled by the user.
enum class RunResult { Done, Incomplete, Cancelled };

// A batch of copies: all done (or nothing to do); stopped at the item that found the target disk
// full; an item failed (named) or the lists differ in length; cancelled without failures.
enum class CopyOutcome { Done, DiskFull, Failed, Cancelled };

}  // namespace vh
