// A file layer for tests of the checked image file: the real C runtime, with
// failures injected where a test asks for them. It also stops the test if
// the image file is closed twice or written after closing.
#pragma once

namespace fake_os {

struct Faults {
    long max_write = 0;       // cap on each write's count, to force short writes; 0: none
    int fail_write_call = 0;  // the 1-based write call that fails; 0: none
    long failed_result = -1;  // what that call returns: -1 (with write_errno) or a count
    int write_errno = 0;      // errno of a failing write returning -1
    int sync_errno = 0;       // sync fails with this errno; 0: succeeds
    int close_errno = 0;      // close really closes, then fails with this errno
    int remove_errno = 0;     // remove really deletes, then fails with this errno
};

extern Faults faults;
extern int write_calls;
extern int sync_calls;

void reset();

}  // namespace fake_os
